#include "accessible_texts.h"

#include <algorithm>
#include <utility>

#include "win32_text.h"
#include "window_table.h"

namespace quillomat::win32 {

AccessibleTexts::AccessibleTexts(const FrmStart& window, const WindowSession& session, AnnotationSource source)
    : window_(window), session_(session), source_(std::move(source)) {}

void AccessibleTexts::ClientSeen() {
  if (listening_ || !source_) return;
  listening_ = true;
  annotation_ = std::exchange(source_, nullptr)();
  if (!annotation_) return;
  for (const table::AccessibleRow& row : table::Accessibility()) {
    HWND control = window_.Child(row.control);
    if (!row.name.empty()) Set(control, AccessibleProperty::Name, Wide(row.name));
    if (!row.description.empty()) Set(control, AccessibleProperty::Description, Wide(row.description));
  }
  RefreshVerdict();
}

void AccessibleTexts::RunEnded() {
  if (listening_) RefreshVerdict();
}

void AccessibleTexts::RefreshVerdict() {
  if (!annotation_) return;
  std::wstring explanation = Wide(session_.VerdictExplanation());
  if (explanation == verdict_) return;
  verdict_ = std::move(explanation);
  Set(window_.Child(Control::txtSigDiff), AccessibleProperty::Description, verdict_);
}

void AccessibleTexts::Set(HWND control, AccessibleProperty property, std::wstring_view text) {
  annotation_->Set(control, property, text);
  const std::pair annotated{control, property};
  if (std::ranges::find(annotated_, annotated) == annotated_.end()) annotated_.push_back(annotated);
}

void AccessibleTexts::Clear() {
  source_ = nullptr;
  if (!annotation_) return;
  for (const auto& [control, property] : annotated_) annotation_->Clear(control, property);
  annotated_.clear();
  annotation_.reset();
}

}  // namespace quillomat::win32
