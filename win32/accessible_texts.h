#pragma once
// What screen readers hear about the window's controls beyond their own texts: the names and
// descriptions of the window table, and the verdict's explanation as the verdict box's
// description. Nothing of it is worked out, and Windows' annotation service (with COM under it) is
// not even loaded, until an accessibility client has shown itself: a window that no client reads
// starts and types as fast as one without any of it.

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
  // `source` makes the annotation once a client has shown itself.
  AccessibleTexts(const FrmStart& window, const WindowSession& session, AnnotationSource source);
  AccessibleTexts(const AccessibleTexts&) = delete;
  AccessibleTexts& operator=(const AccessibleTexts&) = delete;
  ~AccessibleTexts() { Clear(); }

  // A client asked for an accessible object, or the desktop says a screen reader runs: the first
  // time, the table's names and descriptions are annotated, and from now on the verdict box
  // describes the verdict on screen.
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
  AnnotationSource source_;                 // none once used, or once cleared
  std::unique_ptr<Annotation> annotation_;  // none until a client has shown itself, and once cleared
  std::vector<std::pair<HWND, AccessibleProperty>> annotated_;
  bool listening_ = false;
  std::wstring verdict_;  // the verdict box's description as set; none is the same as an empty one
};

}  // namespace quillomat::win32
