// Times a Win32 window program from outside, the way a person meets it: how long from starting the
// program until its window is up and painted, and how long from a keystroke in its first input
// until the window has repainted. Also the target's peak working set and its file size.
//
//   window_bench.exe TARGET.exe [--runs N] [--keystrokes N] [--paste CHARS] [--paste-keystrokes N]
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
// keystroke's.
//
// Paste, in the last run only, after the keystrokes and when --paste is given: CHARS characters
// (zeros, then 200, so that the input still reads 200 and the program calculates as before) are
// put on the clipboard and the whole text of input 113 is selected, outside the timed span; then,
// timed, the input gets WM_PASTE and the top-level window RedrawWindow as above. The input must
// then hold exactly those characters. The keystrokes after it (--paste-keystrokes, default 20)
// are timed as the others, a digit or a backspace at the end of the pasted text. A paste that has
// not ended within five minutes counts as not measured. The peak working set is read after all of
// it, then the window gets WM_CLOSE.
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
constexpr DWORD kPasteTimeoutMs = 300000;
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
  int paste = 0;  // characters; none when 0
  int pasteKeystrokes = 20;
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

std::optional<int> ReadCount(const wchar_t* text, long largest = 1000000) {
  wchar_t* end = nullptr;
  long value = std::wcstol(text, &end, 10);
  if (end == text || *end != L'\0' || value < 1 || value > largest) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<Options> ReadOptions(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::wstring argument = argv[i];
    if ((argument == L"--runs" || argument == L"--keystrokes" || argument == L"--paste-keystrokes") && i + 1 < argc) {
      std::optional<int> count = ReadCount(argv[++i]);
      if (!count) return std::nullopt;
      (argument == L"--runs"         ? options.runs
       : argument == L"--keystrokes" ? options.keystrokes
                                     : options.pasteKeystrokes) = *count;
    } else if (argument == L"--paste" && i + 1 < argc) {
      // The pasted text must end in the three digits of 200.
      std::optional<int> count = ReadCount(argv[++i], 1L << 26);
      if (!count || *count < 3) return std::nullopt;
      options.paste = *count;
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

// The milliseconds of each of `count` keystrokes into `input`, a digit or a backspace alternately.
std::vector<double> TimeKeys(HWND window, HWND input, int count) {
  std::vector<double> samples;
  samples.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    bool digit = i % 2 == 0;
    double start = NowMs();
    SendMessageW(input, WM_CHAR, digit ? L'1' : L'\b', 1);
    Repaint(window);
    samples.push_back(NowMs() - start);
  }
  return samples;
}

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

  std::vector<double> samples = TimeKeys(window, input, keystrokes);
  // That the input really took the digits and the backspaces: a benchmark of ignored keys measures nothing.
  std::wstring expected = keystrokes % 2 == 1 ? typed + L"1" : typed;
  if (TextOf(input) != expected) {
    std::fprintf(stderr, "window_bench: input %d holds \"%ls\" after the keystrokes, not \"%ls\"\n", kInputId,
                 TextOf(input).c_str(), expected.c_str());
    return std::nullopt;
  }
  return samples;
}

bool PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool put = false;
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    auto* bytes = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy_n(text.c_str(), text.size() + 1, bytes);
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!put) GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

// The input's whole text, however long.
std::wstring WholeTextOf(HWND control) {
  auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
  length = SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
  return text;
}

struct PasteTimes {
  double paste = 0;
  std::vector<double> keystrokes;
};

// The paste and the keystrokes after it (see the top of the file); nothing, with the reason
// printed, when the input does not take them.
std::optional<PasteTimes> TimePaste(HWND window, int characters, int keystrokes) {
  HWND input = GetDlgItem(window, kInputId);
  if (input == nullptr) return std::nullopt;
  const std::wstring pasted = std::wstring(static_cast<size_t>(characters) - 3, L'0') + L"200";
  if (!PutOnClipboard(pasted)) {
    std::fprintf(stderr, "window_bench: cannot put %d characters on the clipboard\n", characters);
    return std::nullopt;
  }
  SendMessageW(input, EM_SETSEL, 0, -1);

  PasteTimes times;
  double start = NowMs();
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(input, WM_PASTE, 0, 0, SMTO_NORMAL, kPasteTimeoutMs, &result) == 0) {
    std::fprintf(stderr, "window_bench: a paste of %d characters did not end within %lu s\n", characters,
                 kPasteTimeoutMs / 1000);
    return std::nullopt;
  }
  Repaint(window);
  times.paste = NowMs() - start;
  if (WholeTextOf(input) != pasted) {
    std::fprintf(stderr, "window_bench: input %d holds %zu characters after a paste of %d\n", kInputId,
                 WholeTextOf(input).size(), characters);
    return std::nullopt;
  }

  times.keystrokes = TimeKeys(window, input, keystrokes);
  if (WholeTextOf(input) != (keystrokes % 2 == 1 ? pasted + L"1" : pasted)) {
    std::fprintf(stderr, "window_bench: input %d did not take the keystrokes after the paste\n", kInputId);
    return std::nullopt;
  }
  return times;
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
  std::optional<PasteTimes> paste;
  bool pasteFailed = false;
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
      if (keystrokes && !keystrokes->empty() && options.paste > 0) {
        paste = TimePaste(target.window, options.paste, options.pasteKeystrokes);
        pasteFailed = !paste;
      }
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
  if (paste) {
    std::printf("paste_chars %d\n", options.paste);
    std::printf("paste_ms %.3f\n", paste->paste);
    Summary after = Summarize(paste->keystrokes);
    std::printf("paste_keystroke_summary_ms min %.3f median %.3f p90 %.3f max %.3f keystrokes %zu\n", after.min,
                after.median, after.p90, after.max, paste->keystrokes.size());
  }
  if (peakWorkingSet != 0) std::printf("peak_working_set_bytes %zu\n", static_cast<size_t>(peakWorkingSet));
  return keystrokes && !pasteFailed ? 0 : 1;
}

}  // namespace
}  // namespace quillomat

int wmain(int argc, wchar_t** argv) {
  std::optional<quillomat::Options> options = quillomat::ReadOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: window_bench.exe TARGET.exe [--runs N] [--keystrokes N] [--paste CHARS] "
                 "[--paste-keystrokes N]\n");
    return 2;
  }
  return quillomat::Run(*options);
}
