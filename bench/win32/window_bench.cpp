// Times a Win32 window program from outside, the way a person meets it: how long from starting the
// program until its window is up and painted, and how long from a keystroke in its first input
// until the window has repainted. Also the target's peak working set and its file size.
//
//   window_bench.exe TARGET.exe [--runs N] [--keystrokes N]
//
// Start-up, once per run: from CreateProcess until the target's top-level window is painted.
// "Painted" means: the process has reached its message loop (WaitForInputIdle), it has a visible
// top-level window without an owner, and right after a synchronous round trip to that window
// (SendMessage of WM_NULL, which the target answers only from its message loop) neither the window
// nor any of its child windows has an update region left, so every WM_PAINT the first show
// called for has been handled. Wine's presenting the pixels on the X server is not part of it.
//
// Keystrokes, in the last run only: the inputs with the ids of txtBase1, txtResp1, txtBase2 and
// txtResp2 (113, 112, 111, 110) that the target has are typed full with 200, 50, 300 and 120; then
// each keystroke is a digit or a backspace, alternately, sent to input 113 as WM_CHAR (SendMessage:
// it returns once the input, its change notification and whatever the program does about it are
// done), followed by RedrawWindow(RDW_UPDATENOW | RDW_ALLCHILDREN) on the top-level window, which
// returns once every window that the keystroke invalidated has painted. The time of both is the
// keystroke's. The peak working set is read after the keystrokes, then the window gets WM_CLOSE.
//
// This program is a benchmark: it prints figures and judges none. It exits non-zero only when it
// cannot measure (the target does not start, shows no window, or does not take the keystrokes).
#include <windows.h>
// After windows.h, which psapi.h needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace quillomat {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr int kInputId = 113;

// The typical run's figures, in the order txtBase1, txtResp1, txtBase2, txtResp2.
struct InputText {
  int id;
  const wchar_t* text;
};
constexpr InputText kTypicalRun[] = {{113, L"200"}, {112, L"50"}, {111, L"300"}, {110, L"120"}};

struct Options {
  std::wstring target;
  int runs = 10;
  int keystrokes = 200;
};

struct Summary {
  double min = 0;
  double median = 0;
  double p90 = 0;
  double max = 0;
};

Summary Summarize(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  Summary summary;
  if (samples.empty()) return summary;
  size_t n = samples.size();
  summary.min = samples.front();
  summary.max = samples.back();
  summary.median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  summary.p90 = samples[std::min(n - 1, (n * 9) / 10)];
  return summary;
}

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

std::optional<int> ReadCount(const wchar_t* text) {
  wchar_t* end = nullptr;
  long value = std::wcstol(text, &end, 10);
  if (end == text || *end != L'\0' || value < 1 || value > 1000000) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<Options> ReadOptions(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::wstring argument = argv[i];
    if ((argument == L"--runs" || argument == L"--keystrokes") && i + 1 < argc) {
      std::optional<int> count = ReadCount(argv[++i]);
      if (!count) return std::nullopt;
      (argument == L"--runs" ? options.runs : options.keystrokes) = *count;
    } else if (!argument.empty() && argument[0] != L'-' && options.target.empty()) {
      options.target = argument;
    } else {
      return std::nullopt;
    }
  }
  if (options.target.empty()) return std::nullopt;
  return options;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || GetWindow(window, GW_OWNER) != nullptr || !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindTopLevelWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK FindUpdateRegion(HWND window, LPARAM lParam) {
  if (!GetUpdateRect(window, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lParam) = true;
  return FALSE;
}

bool PaintPending(HWND window) {
  bool pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
  if (!pending) EnumChildWindows(window, FindUpdateRegion, reinterpret_cast<LPARAM>(&pending));
  return pending;
}

bool RoundTrip(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, kTimeoutMs, &result) != 0;
}

struct Target {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
};

// Starts the target and returns once its window is painted (see the top of the file), with the
// milliseconds that took; nothing on failure, with the reason printed.
std::optional<double> Launch(const std::wstring& path, Target& target) {
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  double start = NowMs();
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &target.process)) {
    std::fprintf(stderr, "window_bench: cannot start %ls (error %lu)\n", path.c_str(), GetLastError());
    return std::nullopt;
  }
  if (WaitForInputIdle(target.process.hProcess, kTimeoutMs) != 0) {
    std::fprintf(stderr, "window_bench: %ls never waited for input\n", path.c_str());
    return std::nullopt;
  }
  double deadline = start + kTimeoutMs;
  while (NowMs() < deadline) {
    if (target.window == nullptr) target.window = FindTopLevelWindow(target.process.dwProcessId);
    if (target.window == nullptr) {
      if (WaitForSingleObject(target.process.hProcess, 1) == WAIT_OBJECT_0) break;
      continue;
    }
    if (!RoundTrip(target.window)) break;
    if (IsWindowVisible(target.window) && !PaintPending(target.window)) return NowMs() - start;
  }
  std::fprintf(stderr, "window_bench: %ls showed no painted window\n", path.c_str());
  return std::nullopt;
}

void Close(Target& target) {
  if (target.process.hProcess == nullptr) return;
  if (target.window != nullptr) PostMessageW(target.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(target.process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "window_bench: the target did not end on WM_CLOSE; terminated\n");
    TerminateProcess(target.process.hProcess, 1);
    WaitForSingleObject(target.process.hProcess, kTimeoutMs);
  }
  CloseHandle(target.process.hThread);
  CloseHandle(target.process.hProcess);
  target = Target{};
}

std::wstring TextOf(HWND control) {
  std::wstring text(256, L'\0');
  auto length = SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
  return text;
}

void Type(HWND control, const wchar_t* text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (const wchar_t* c = text; *c != L'\0'; ++c) SendMessageW(control, WM_CHAR, static_cast<WPARAM>(*c), 1);
}

void Repaint(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// The milliseconds of each keystroke: none when the target has no input 113, nothing at all when
// its input does not take the keystrokes.
std::optional<std::vector<double>> TimeKeystrokes(HWND window, int keystrokes) {
  HWND input = GetDlgItem(window, kInputId);
  if (input == nullptr) {
    std::printf("keystrokes none: the target has no control with id %d\n", kInputId);
    return std::vector<double>{};
  }
  std::wstring typed;
  for (const InputText& field : kTypicalRun) {
    HWND control = GetDlgItem(window, field.id);
    if (control == nullptr) continue;
    Type(control, field.text);
    if (field.id == kInputId) typed = field.text;
  }
  Repaint(window);
  if (TextOf(input) != typed) {
    std::fprintf(stderr, "window_bench: input %d holds \"%ls\" after typing \"%ls\"\n", kInputId, TextOf(input).c_str(),
                 typed.c_str());
    return std::nullopt;
  }

  std::vector<double> samples;
  samples.reserve(static_cast<size_t>(keystrokes));
  for (int i = 0; i < keystrokes; ++i) {
    bool digit = i % 2 == 0;
    double start = NowMs();
    SendMessageW(input, WM_CHAR, digit ? L'1' : L'\b', 1);
    Repaint(window);
    samples.push_back(NowMs() - start);
  }
  // That the input really took the digits and the backspaces: a benchmark of ignored keys measures nothing.
  std::wstring expected = keystrokes % 2 == 1 ? typed + L"1" : typed;
  if (TextOf(input) != expected) {
    std::fprintf(stderr, "window_bench: input %d holds \"%ls\" after the keystrokes, not \"%ls\"\n", kInputId,
                 TextOf(input).c_str(), expected.c_str());
    return std::nullopt;
  }
  return samples;
}

std::optional<unsigned long long> FileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int Run(const Options& options) {
  std::printf("target %ls\n", options.target.c_str());
  if (std::optional<unsigned long long> bytes = FileBytes(options.target)) std::printf("file_bytes %llu\n", *bytes);

  std::vector<double> startups;
  std::optional<std::vector<double>> keystrokes;
  SIZE_T peakWorkingSet = 0;
  for (int run = 0; run < options.runs; ++run) {
    Target target;
    std::optional<double> startup = Launch(options.target, target);
    if (!startup) {
      Close(target);
      return 1;
    }
    startups.push_back(*startup);
    if (run == options.runs - 1) {
      keystrokes = TimeKeystrokes(target.window, options.keystrokes);
      PROCESS_MEMORY_COUNTERS counters{};
      counters.cb = sizeof counters;
      if (GetProcessMemoryInfo(target.process.hProcess, &counters, sizeof counters)) {
        peakWorkingSet = counters.PeakWorkingSetSize;
      }
    }
    Close(target);
  }

  std::printf("startup_ms");
  for (double ms : startups) std::printf(" %.2f", ms);
  std::printf("\n");
  Summary startup = Summarize(startups);
  std::printf("startup_summary_ms min %.2f median %.2f max %.2f runs %zu\n", startup.min, startup.median, startup.max,
              startups.size());
  if (keystrokes && !keystrokes->empty()) {
    Summary keystroke = Summarize(*keystrokes);
    std::printf("keystroke_summary_ms min %.3f median %.3f p90 %.3f max %.3f keystrokes %zu\n", keystroke.min,
                keystroke.median, keystroke.p90, keystroke.max, keystrokes->size());
  }
  if (peakWorkingSet != 0) std::printf("peak_working_set_bytes %zu\n", static_cast<size_t>(peakWorkingSet));
  return keystrokes ? 0 : 1;
}

}  // namespace
}  // namespace quillomat

int wmain(int argc, wchar_t** argv) {
  std::optional<quillomat::Options> options = quillomat::ReadOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: window_bench.exe TARGET.exe [--runs N] [--keystrokes N]\n");
    return 2;
  }
  return quillomat::Run(*options);
}
