// What screen readers hear on the real window: the controls' names and descriptions, and the
// verdict's explanation, watched through a recording annotation in place of Windows' own, and with
// Windows' own (under Wine, one that refuses every annotation) as a real client sees the window.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "window_fixture.h"
#include "window_table.h"

namespace quillomat::win32 {
namespace {

// One annotation call as the window made it.
struct Annotated {
  HWND control;
  std::string property;  // "name", "description", or "clear name" / "clear description"
  std::string text;
  bool controlExists;  // whether the control's window still existed at the call
};

class RecordingAnnotation final : public Annotation {
 public:
  explicit RecordingAnnotation(std::vector<Annotated>& log) : log_(log) {}
  void Set(HWND control, AccessibleProperty property, std::wstring_view text) override {
    log_.push_back({control, Name(property), Narrow(text), IsWindow(control) != FALSE});
  }
  void Clear(HWND control, AccessibleProperty property) override {
    log_.push_back({control, "clear " + Name(property), "", IsWindow(control) != FALSE});
  }

 private:
  static std::string Name(AccessibleProperty property) {
    return property == AccessibleProperty::Name ? "name" : "description";
  }
  std::vector<Annotated>& log_;
};

// The screen reader flag on for as long as this lives, set as a screen reader sets it: in the
// user's profile, which announces the change to every window.
class ScreenReaderFlag {
 public:
  ScreenReaderFlag() { Set(true); }
  ScreenReaderFlag(const ScreenReaderFlag&) = delete;
  ScreenReaderFlag& operator=(const ScreenReaderFlag&) = delete;
  ~ScreenReaderFlag() { Set(false); }

 private:
  static void Set(bool on) {
    SystemParametersInfoW(SPI_SETSCREENREADER, on ? 1u : 0u, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  }
};

// The object id a UI Automation client asks a window for (uiautomationcoreapi.h's UiaRootObjectId).
constexpr LPARAM kUiaRootObjectId = -25;

// The names and descriptions of the window table, annotated when the window is made.
constexpr std::size_t kTableTexts = 11;

bool ScreenReaderFlagSet() {
  BOOL on = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &on, 0) && on;
}

class AccessibleTextsTest : public WindowFixture {
 protected:
  AccessibleTextsTest() { Reopen(); }
  ~AccessibleTextsTest() override { window.reset(); }  // while the log it writes to exists
  void SetUp() override {
    if (ScreenReaderFlagSet()) GTEST_SKIP() << "a screen reader runs: the window listens from its start";
  }

  void Reopen() {
    window.reset();
    log.clear();
    Open(std::make_unique<RecordingAnnotation>(log));
  }
  // The calls from `from` to `to` (or the last), each as "control property: text".
  std::vector<std::string> Calls(std::size_t from = 0, std::size_t to = SIZE_MAX) const {
    std::vector<std::string> calls;
    for (std::size_t i = from; i < std::min(to, log.size()); ++i) {
      const auto control = window->Widgets().ControlOf(log[i].control);
      calls.push_back((control ? std::string(ControlName(*control)) : std::string("elsewhere")) + " " +
                      log[i].property + (log[i].text.empty() ? "" : ": " + log[i].text));
    }
    return calls;
  }
  std::string VerdictDescription() const { return Narrow(Wide(window->Session().VerdictExplanation())); }
  void AskForObject(C control, LPARAM object = OBJID_CLIENT) { SendMessageW(Child(control), WM_GETOBJECT, 0, object); }

  std::vector<Annotated> log;
};

TEST_F(AccessibleTextsTest, TheBoxesAreNamedForTheirPlayersAndTheValuesDescribedAtOnce) {
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "txtBase1 name: Player 1 base",
                         "txtResp1 name: Player 1 results",
                         "txtBase2 name: Player 2 base",
                         "txtResp2 name: Player 2 results",
                         "lblPer1b description: Player 1 percentage",
                         "lblPer2b description: Player 2 percentage",
                         "lblWAvgb description: Weighted average",
                         "lblActDiffb description: Difference",
                         "lblDiffNeedb description: Difference needed",
                         "txtSigDiff name: Verdict",
                         "txtWarnSign name: Warning",
                     }));
}

TEST_F(AccessibleTextsTest, TheVerdictIsDescribedOnlyOnceAClientHasShownItself) {
  const std::size_t named = log.size();
  Enter(L"200", L"50", L"300", L"120");
  Click(C::opt99);
  ASSERT_FALSE(window->Accessible().ClientListening());
  EXPECT_EQ(Calls(named), std::vector<std::string>{}) << "no client: the explanation is never worked out";

  AskForObject(C::txtSigDiff);
  ASSERT_EQ(Calls(named), std::vector<std::string>{"txtSigDiff description: " + VerdictDescription()});
  EXPECT_EQ(VerdictDescription().rfind("z = ", 0), 0u) << VerdictDescription();
  AskForObject(C::txtSigDiff);
  EXPECT_EQ(log.size(), named + 1) << "asked again, the same explanation is not set again";
}

TEST_F(AccessibleTextsTest, AfterThatEveryRunThatChangesTheExplanationRefreshesIt) {
  AskForObject(C::txtSigDiff);
  EXPECT_EQ(Calls(kTableTexts), std::vector<std::string>{}) << "nothing to explain yet";
  Enter(L"200", L"50", L"300", L"9");  // one run with all four numbers
  const std::string first = VerdictDescription();
  EXPECT_EQ(Calls(kTableTexts), std::vector<std::string>{"txtSigDiff description: " + first});

  Type(C::txtResp2, L"0");  // 90: the evidence changes
  const std::string second = VerdictDescription();
  ASSERT_NE(second, first);
  EXPECT_EQ(Calls(kTableTexts + 1), std::vector<std::string>{"txtSigDiff description: " + second});

  Click(C::opt95);  // the same level again: the same explanation, nothing set
  EXPECT_EQ(log.size(), kTableTexts + 2);

  Type(C::txtResp1, L"0");  // 500 results of 200: the warning shows, the explanation says so
  const std::string stale = VerdictDescription();
  EXPECT_EQ(stale.rfind("These are the previous entries' results", 0), 0u) << stale;
  EXPECT_EQ(Calls(kTableTexts + 2), std::vector<std::string>{"txtSigDiff description: " + stale});
}

TEST_F(AccessibleTextsTest, AClientShowsItselfByAskingTheWindowOrAWatchedControlForAnObject) {
  const std::vector<std::pair<const char*, std::function<void()>>> clients = {
      {"an MSAA client asking the window", [this] { SendMessageW(window->Window(), WM_GETOBJECT, 0, OBJID_CLIENT); }},
      {"a UI Automation client asking a box", [this] { AskForObject(C::txtResp1, kUiaRootObjectId); }},
      {"a client asking the verdict box", [this] { AskForObject(C::txtSigDiff); }},
  };
  for (const auto& [client, show] : clients) {
    Reopen();
    Enter(L"200", L"50", L"300", L"120");
    ASSERT_EQ(log.size(), kTableTexts) << client;
    show();
    EXPECT_EQ(Calls(kTableTexts), std::vector<std::string>{"txtSigDiff description: " + VerdictDescription()})
        << client;
  }
}

TEST_F(AccessibleTextsTest, AScreenReaderThatStartsOrRunsAlreadyIsAClient) {
  Enter(L"200", L"50", L"300", L"120");
  {
    ScreenReaderFlag on;
    Pump();
    EXPECT_EQ(Calls(kTableTexts), std::vector<std::string>{"txtSigDiff description: " + VerdictDescription()});
    Reopen();
    Enter(L"200", L"50", L"300", L"9");  // one run with all four numbers
    EXPECT_EQ(Calls(kTableTexts), std::vector<std::string>{"txtSigDiff description: " + VerdictDescription()})
        << "opened while a screen reader runs";
  }
}

TEST_F(AccessibleTextsTest, ClosingTheWindowGivesEveryPropertyBackWhileItsControlsExist) {
  AskForObject(C::txtSigDiff);
  Enter(L"200", L"50", L"300", L"120");
  const std::size_t set = log.size();
  Click(C::cmdExit);
  ASSERT_FALSE(IsWindow(window->Window()));
  std::vector<std::string> cleared = Calls(set);
  std::ranges::sort(cleared);
  EXPECT_EQ(cleared, (std::vector<std::string>{
                         "lblActDiffb clear description",
                         "lblDiffNeedb clear description",
                         "lblPer1b clear description",
                         "lblPer2b clear description",
                         "lblWAvgb clear description",
                         "txtBase1 clear name",
                         "txtBase2 clear name",
                         "txtResp1 clear name",
                         "txtResp2 clear name",
                         "txtSigDiff clear description",
                         "txtSigDiff clear name",
                         "txtWarnSign clear name",
                     }));
  for (std::size_t i = set; i < log.size(); ++i) EXPECT_TRUE(log[i].controlExists) << Calls(i, i + 1)[0];
}

// Windows' own annotation service, and a real MSAA client through oleacc.
class RealClientTest : public WindowFixture {
 protected:
  // Whether this system's service takes an annotation at all, tried on a window of its own.
  static bool ServiceAnnotates() {
    IAccPropServices* service = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&service))))
      return false;
    HWND scratch = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const bool annotates = SUCCEEDED(
        service->SetHwndPropStr(scratch, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, L"x"));
    service->ClearHwndProps(scratch, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
    DestroyWindow(scratch);
    service->Release();
    return annotates;
  }
  // The control's object as a client gets it; its name and description, "(none)" where it has none.
  static std::pair<std::string, std::string> NameAndDescription(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr)
      return {"(no object)", "(no object)"};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto read = [](HRESULT result, BSTR text) {
      std::string value = SUCCEEDED(result) && text != nullptr ? Narrow(text) : "(none)";
      SysFreeString(text);
      return value;
    };
    BSTR name = nullptr, description = nullptr;
    const HRESULT named = object->get_accName(self, &name);
    const HRESULT described = object->get_accDescription(self, &description);
    object->Release();
    return {read(named, name), read(described, description)};
  }
};

TEST_F(RealClientTest, AClientAskingEveryControlFindsTheWindowWorkingAsBefore) {
  for (const table::ControlRow& row : table::Controls())
    EXPECT_NE(NameAndDescription(Child(row.control)).first, "(no object)") << ControlName(row.control);
  EXPECT_TRUE(window->Accessible().ClientListening());
  Enter(L"200", L"50", L"300", L"120");
  EXPECT_EQ(Text(C::lblDiffNeedb), "08.48%");
  EXPECT_EQ(Text(C::txtSigDiff), "  SIGNIFICANTLY DIFFERENT  ");
  EXPECT_TRUE(seen.empty()) << seen[0].text;
}

TEST_F(RealClientTest, WhereWindowsAnnotatesAClientReadsTheNamesAndTheExplanation) {
  if (!ServiceAnnotates())
    GTEST_SKIP() << "this system's annotation service takes no annotation (Wine's answers E_NOTIMPL)";
  Enter(L"200", L"50", L"300", L"120");
  NameAndDescription(window->Window());  // the client shows itself
  for (const table::AccessibleRow& row : table::Accessibility()) {
    const auto [name, description] = NameAndDescription(Child(row.control));
    if (!row.name.empty()) {
      EXPECT_EQ(name, Narrow(Wide(row.name))) << ControlName(row.control);
    }
    if (!row.description.empty()) {
      EXPECT_EQ(description, Narrow(Wide(row.description))) << ControlName(row.control);
    }
  }
  EXPECT_EQ(NameAndDescription(Child(C::txtSigDiff)).second, Narrow(Wide(window->Session().VerdictExplanation())));
}

}  // namespace
}  // namespace quillomat::win32
