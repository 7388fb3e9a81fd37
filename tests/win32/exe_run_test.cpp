// Checks Quillomat.exe the way Windows (here Wine) takes it: the activation context its manifest
// makes, and the program started as the shell would start it.
//
// Usage: exe_run_test [gtest flags] <Quillomat.exe>

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

namespace {

std::wstring g_exe_path;

constexpr DWORD kPatienceMs = 20000;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The activation context of the program's manifest, active while this lives.
class ManifestContext {
 public:
  explicit ManifestContext(const std::wstring& exe) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    context_ = CreateActCtxW(&request);
    error_ = GetLastError();
    if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
  }
  ManifestContext(const ManifestContext&) = delete;
  ManifestContext& operator=(const ManifestContext&) = delete;
  ~ManifestContext() {
    if (context_ == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(context_);
  }

  bool Ok() const { return context_ != INVALID_HANDLE_VALUE; }
  DWORD Error() const { return error_; }

  // A <windowsSettings> value as the system read it; empty when it found none.
  std::wstring Setting(const wchar_t* space, const wchar_t* name) const {
    wchar_t value[256] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context_, space, name, value, 256, &written)) return {};
    return value;
  }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  DWORD error_ = 0;
  ULONG_PTR cookie_ = 0;
};

TEST(ManifestContext, TheSystemReadsTheDpiSettingsFromTheirNamespaces) {
  const ManifestContext manifest(g_exe_path);
  ASSERT_TRUE(manifest.Ok()) << "CreateActCtx failed: " << manifest.Error();
  // A setting in the wrong namespace would be ignored without a word, on Windows as here.
  const std::wstring awareness =
      manifest.Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness");
  EXPECT_EQ(awareness.rfind(L"PerMonitorV2", 0), 0u) << "dpiAwareness: " << Narrow(awareness);
  EXPECT_EQ(Narrow(manifest.Setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware")), "true/pm");
}

TEST(ManifestContext, LoadsTheCommonControlsOfVersion6) {
  const ManifestContext manifest(g_exe_path);
  ASSERT_TRUE(manifest.Ok()) << "CreateActCtx failed: " << manifest.Error();
  // Under the context "comctl32.dll" is the side-by-side assembly's, not the system folder's.
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(controls, path, MAX_PATH);
  std::string loaded = Narrow(path);
  for (char& c : loaded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(loaded.find("\\winsxs\\"), std::string::npos) << loaded;
  EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos) << loaded;
  FreeLibrary(controls);
}

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<WindowSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != s->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return TRUE;
  s->found = window;
  return FALSE;
}

// The program, started; ended by force should a check leave it running.
class Started {
 public:
  explicit Started(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_) != 0;
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  ~Started() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool Ok() const { return started_; }
  HANDLE Handle() const { return process_.hProcess; }

  HWND WaitForWindow() const {
    WaitForInputIdle(process_.hProcess, kPatienceMs);
    for (DWORD waited = 0; waited < kPatienceMs; waited += 50) {
      WindowSearch search{process_.dwProcessId, nullptr};
      EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) return search.found;
      if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    return nullptr;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

TEST(WindowStart, ShowsATitledWindowAndEndsWhenItIsClosed) {
  const Started program(g_exe_path);
  ASSERT_TRUE(program.Ok()) << "CreateProcess failed: " << GetLastError();

  const HWND window = program.WaitForWindow();
  ASSERT_NE(window, nullptr) << "no window shown";
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  EXPECT_NE(title[0], L'\0') << "the window has no title";

  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(program.Handle(), kPatienceMs), WAIT_OBJECT_0) << "still running after WM_CLOSE";
  DWORD status = 1;
  GetExitCodeProcess(program.Handle(), &status);
  EXPECT_EQ(status, 0u);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fputs("usage: exe_run_test [gtest flags] <Quillomat.exe>\n", stderr);
    return 2;
  }
  g_exe_path = argv[1];
  return RUN_ALL_TESTS();
}
