#pragma once
// What screen readers hear about the window's controls beyond their own texts: the names and
// descriptions of the window table, and the verdict's explanation as the verdict box's
// description. The explanation costs time to work out, so it is kept up to date only once an
// accessibility client has shown itself.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "accessible_annotation.h"
#include "frm_start.h"
#include "window_session.h"

namespace quillomat::win32 {

class AccessibleTexts {
 public:
  // Annotates the table's names and descriptions at once.
  AccessibleTexts(const FrmStart& window, const WindowSession& session, std::unique_ptr<Annotation> annotation);
  AccessibleTexts(const AccessibleTexts&) = delete;
  AccessibleTexts& operator=(const AccessibleTexts&) = delete;
  ~AccessibleTexts() { Clear(); }

  // A client asked for an accessible object, or the desktop says a screen reader runs: from now
  // on the verdict box describes the verdict on screen.
  void ClientSeen();
  bool ClientListening() const { return listening_; }
  // After every handler run.
  void RunEnded();
  // Gives every annotated property back to Windows, while the controls still exist, and
  // annotates nothing afterwards.
  void Clear();

 private:
  void Set(HWND control, AccessibleProperty property, std::wstring_view text);
  void RefreshVerdict();

  const FrmStart& window_;
  const WindowSession& session_;
  std::unique_ptr<Annotation> annotation_;  // none once cleared
  std::vector<std::pair<HWND, AccessibleProperty>> annotated_;
  bool listening_ = false;
  std::wstring verdict_;  // the verdict box's description as set; none is the same as an empty one
};

}  // namespace quillomat::win32
