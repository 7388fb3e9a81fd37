// What screen readers hear on the real window: the controls' names and descriptions, and the
// verdict's explanation, watched through a recording annotation in place of Windows' own, and with
// Windows' own (under Wine, one that refuses every annotation) as a real client sees the window;
// and the COM apartment Windows' own service needs, which the window enters only for a client.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "accessible_annotation.h"
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

bool ScreenReaderFlagSet() {
  BOOL on = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &on, 0) && on;
}

// The controls' own procedure, as the controller hands them on: what the annotation held when
// each first saw a client asking for its object.
class ClassProcedures {
 public:
  // From now on the windows of `classes` that are made start with a procedure that records.
  ClassProcedures(std::initializer_list<const wchar_t*> classes, const std::vector<Annotated>& log) {
    log_ = &log;
    for (const wchar_t* name : classes) {
      HWND scratch = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
      own_.push_back({name, reinterpret_cast<WNDPROC>(SetClassLongPtrW(
                                scratch, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClassProcedures::Record)))});
      DestroyWindow(scratch);
    }
  }
  ClassProcedures(const ClassProcedures&) = delete;
  ClassProcedures& operator=(const ClassProcedures&) = delete;
  ~ClassProcedures() {
    for (const auto& [name, procedure] : own_) {
      HWND scratch = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
      SetClassLongPtrW(scratch, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
      DestroyWindow(scratch);
    }
    seen_.clear();
    log_ = nullptr;
  }
  // The number of annotation calls made when `control` first saw WM_GETOBJECT; none if it never did.
  static std::optional<std::size_t> AnnotatedWhenAsked(HWND control) {
    const auto found = seen_.find(control);
    return found == seen_.end() ? std::nullopt : std::optional(found->second);
  }

 private:
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && log_ != nullptr) seen_.try_emplace(window, log_->size());
    wchar_t name[16]{};
    GetClassNameW(window, name, 16);
    for (const auto& [className, procedure] : own_)
      if (CompareStringOrdinal(name, -1, className, -1, TRUE) == CSTR_EQUAL)
        return CallWindowProcW(procedure, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  static inline const std::vector<Annotated>* log_ = nullptr;
  static inline std::vector<std::pair<const wchar_t*, WNDPROC>> own_;
  static inline std::map<HWND, std::size_t> seen_;
};

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
    made = 0;
    Open([this] {
      ++made;
      return std::make_unique<RecordingAnnotation>(log);
    });
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
  // The table's names and descriptions, then the verdict's explanation when there is one.
  std::vector<std::string> FirstCalls() const {
    std::vector<std::string> calls = kTableCalls;
    if (!VerdictDescription().empty()) calls.push_back("txtSigDiff description: " + VerdictDescription());
    return calls;
  }
  std::string VerdictDescription() const { return Narrow(Wide(window->Session().VerdictExplanation())); }
  void AskForObject(C control, LPARAM object = OBJID_CLIENT) { SendMessageW(Child(control), WM_GETOBJECT, 0, object); }

  const std::vector<std::string> kTableCalls = {
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
  };
  std::vector<Annotated> log;
  int made = 0;  // annotations made
};

TEST_F(AccessibleTextsTest, NoClientNoAnnotation) {
  Enter(L"200", L"50", L"300", L"120");
  Click(C::opt99);
  RedrawWindow(window->Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Type(C::txtResp2, L"0");
  EXPECT_FALSE(window->Accessible().ClientListening());
  EXPECT_EQ(made, 0) << "the annotation service is loaded only for a client";
  EXPECT_EQ(Calls(), std::vector<std::string>{});
  Click(C::cmdExit);
  ASSERT_FALSE(IsWindow(window->Window()));
  EXPECT_EQ(Calls(), std::vector<std::string>{}) << "nothing to give back";
  EXPECT_EQ(made, 0);
}

TEST_F(AccessibleTextsTest, TheFirstClientFindsTheBoxesNamedForTheirPlayersTheValuesDescribedAndTheVerdict) {
  Enter(L"200", L"50", L"300", L"120");
  AskForObject(C::txtSigDiff);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(Calls(), FirstCalls());
  EXPECT_EQ(VerdictDescription().rfind("z = ", 0), 0u) << VerdictDescription();
  const std::size_t set = log.size();
  AskForObject(C::txtSigDiff);
  AskForObject(C::txtBase1);
  EXPECT_EQ(log.size(), set) << "asked again, nothing is set again";
  EXPECT_EQ(made, 1);
}

TEST_F(AccessibleTextsTest, TheNamesArriveBeforeTheObjectTheClientAskedForIsMade) {
  const std::vector<C> asked = {C::txtResp1, C::lblWAvgb, C::txtSigDiff, C::txtWarnSign};
  for (C control : asked) {
    SCOPED_TRACE(ControlName(control));
    ClassProcedures procedures({L"Edit", L"Static"}, log);
    Reopen();
    Enter(L"200", L"50", L"300", L"120");
    ASSERT_EQ(log.size(), 0u);
    AskForObject(control);
    EXPECT_EQ(ClassProcedures::AnnotatedWhenAsked(Child(control)), std::optional(FirstCalls().size()))
        << "the control's own procedure answered before everything was annotated";
    EXPECT_EQ(Calls(), FirstCalls());
  }
}

TEST_F(AccessibleTextsTest, AfterThatEveryRunThatChangesTheExplanationRefreshesIt) {
  AskForObject(C::txtSigDiff);
  EXPECT_EQ(Calls(), kTableCalls) << "nothing to explain yet";
  const std::size_t named = kTableCalls.size();
  Enter(L"200", L"50", L"300", L"9");  // one run with all four numbers
  const std::string first = VerdictDescription();
  EXPECT_EQ(Calls(named), std::vector<std::string>{"txtSigDiff description: " + first});

  Type(C::txtResp2, L"0");  // 90: the evidence changes
  const std::string second = VerdictDescription();
  ASSERT_NE(second, first);
  EXPECT_EQ(Calls(named + 1), std::vector<std::string>{"txtSigDiff description: " + second});

  Click(C::opt95);  // the same level again: the same explanation, nothing set
  EXPECT_EQ(log.size(), named + 2);

  Type(C::txtResp1, L"0");  // 500 results of 200: the warning shows, the explanation says so
  const std::string stale = VerdictDescription();
  EXPECT_EQ(stale.rfind("These are the previous entries' results", 0), 0u) << stale;
  EXPECT_EQ(Calls(named + 2), std::vector<std::string>{"txtSigDiff description: " + stale});
}

TEST_F(AccessibleTextsTest, AClientShowsItselfByAskingTheWindowOrAnyAnnotatedControlForAnObject) {
  std::vector<std::pair<std::string, std::function<void()>>> clients = {
      {"an MSAA client asking the window", [this] { SendMessageW(window->Window(), WM_GETOBJECT, 0, OBJID_CLIENT); }},
      {"a UI Automation client asking a box", [this] { AskForObject(C::txtResp1, kUiaRootObjectId); }},
  };
  for (const table::AccessibleRow& row : table::Accessibility())
    clients.emplace_back(std::string("a client asking ") + std::string(ControlName(row.control)),
                         [this, control = row.control] { AskForObject(control); });
  for (const auto& [client, show] : clients) {
    Reopen();
    Enter(L"200", L"50", L"300", L"120");
    ASSERT_EQ(log.size(), 0u) << client;
    show();
    EXPECT_EQ(Calls(), FirstCalls()) << client;
  }
}

TEST_F(AccessibleTextsTest, AScreenReaderThatStartsOrRunsAlreadyIsAClient) {
  Enter(L"200", L"50", L"300", L"120");
  {
    ScreenReaderFlag on;
    Pump();
    EXPECT_EQ(Calls(), FirstCalls());
    Reopen();
    EXPECT_EQ(made, 1) << "opened while a screen reader runs";
    EXPECT_EQ(Calls(), kTableCalls);
    Enter(L"200", L"50", L"300", L"9");  // one run with all four numbers
    EXPECT_EQ(Calls(), FirstCalls());
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

// What COM the thread is in: "none", "single-threaded" or "multithreaded".
std::string Apartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  if (FAILED(CoGetApartmentType(&type, &qualifier))) return "none";
  return type == APTTYPE_MTA ? "multithreaded" : "single-threaded";
}

// Runs `work` on a new thread that starts in the COM apartment `start` (COINIT flags), or in none.
void OnThread(std::optional<DWORD> start, const std::function<void()>& work) {
  struct Job {
    std::optional<DWORD> start;
    const std::function<void()>& work;
  } job{start, work};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* argument) -> DWORD {
        const Job& j = *static_cast<Job*>(argument);
        const bool com = j.start && SUCCEEDED(CoInitializeEx(nullptr, *j.start));
        j.work();
        if (com) CoUninitialize();
        return 0;
      },
      &job, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

TEST(SystemAnnotation, MakesTheServiceInAnApartmentItEntersAndLeavesItselfWhereTheThreadHasNone) {
  struct Case {
    const char* thread;
    std::optional<DWORD> start;
    const char* before;  // and after
    const char* during;
  };
  const Case cases[] = {
      {"a thread without COM", std::nullopt, "none", "single-threaded"},
      {"a single-threaded thread", COINIT_APARTMENTTHREADED, "single-threaded", "single-threaded"},
      {"a multithreaded thread", COINIT_MULTITHREADED, "multithreaded", "multithreaded"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> seen;
    HRESULT created = E_FAIL;
    OnThread(c.start, [&] {
      seen.push_back(Apartment());
      {
        SystemAnnotation annotation;
        created = annotation.Created();
        seen.push_back(Apartment());
        HWND scratch = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        annotation.Set(scratch, AccessibleProperty::Name, L"x");  // whatever the service answers, it carries on
        annotation.Clear(scratch, AccessibleProperty::Name);
        DestroyWindow(scratch);
      }
      seen.push_back(Apartment());
    });
    EXPECT_EQ(seen, (std::vector<std::string>{c.before, c.during, c.before})) << c.thread;
    EXPECT_EQ(created, S_OK) << c.thread << ": the annotation service was not made";
  }
}

// What a thread without COM is in once it has shown a window with a box and typed into it: the
// system's input methods may enter an apartment of their own there.
std::string ApartmentOfABareWindowTypedInto() {
  std::string apartment;
  OnThread(std::nullopt, [&apartment] {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND box =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window, nullptr, nullptr, nullptr);
    SetFocus(box);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (wchar_t c : std::wstring_view(L"200")) SendMessageW(box, WM_CHAR, c, 1);
    apartment = Apartment();
    DestroyWindow(window);
  });
  return apartment;
}

TEST(SystemAnnotation, TheWindowEntersComOnlyOnceAClientShowsItselfAndLeavesItWithTheWindow) {
  if (ScreenReaderFlagSet()) GTEST_SKIP() << "a screen reader runs: the window listens from its start";
  const std::string bare = ApartmentOfABareWindowTypedInto();
  std::vector<std::string> seen;
  OnThread(std::nullopt, [&seen] {
    seen.push_back(Apartment());
    {
      WindowController window(GetModuleHandleW(nullptr));
      window.Show();
      RedrawWindow(window.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      for (wchar_t c : std::wstring_view(L"200")) SendMessageW(window.Widgets().Child(C::txtBase1), WM_CHAR, c, 1);
      seen.push_back(Apartment());
      SendMessageW(window.Widgets().Child(C::txtBase1), WM_GETOBJECT, 0, OBJID_CLIENT);
      seen.push_back(Apartment());
    }
    seen.push_back(Apartment());
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"none", bare, "single-threaded", "none"}))
      << "before a client, the window's thread is in what a bare window's is in";
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
