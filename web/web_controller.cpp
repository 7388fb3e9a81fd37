#include "web_controller.h"

#include <string>

#include "page_api.h"
#include "results_report.h"
#include "tool_tip_text.h"
#include "window_table.h"

namespace quillomat::web {
namespace {

using C = Control;

struct Notification {
  C control;
  int event;
  WindowSession::Handler handler;
};

// Typing, deleting, pasting and dropping raise a box's input event, the program's own writes its
// change (WebControls); a level is selected before its click is delivered.
constexpr Notification kNotifications[] = {
    {C::txtBase1, kPageInput, &FormHandlers::txtBase1_Change},
    {C::txtResp1, kPageInput, &FormHandlers::txtResp1_Change},
    {C::txtBase2, kPageInput, &FormHandlers::txtBase2_Change},
    {C::txtResp2, kPageInput, &FormHandlers::txtResp2_Change},
    {C::opt80, kPageClick, &FormHandlers::opt80_Click},
    {C::opt90, kPageClick, &FormHandlers::opt90_Click},
    {C::opt95, kPageClick, &FormHandlers::opt95_Click},
    {C::opt99, kPageClick, &FormHandlers::opt99_Click},
    {C::cmdClear1, kPageClick, &FormHandlers::cmdClear1_Click},
    {C::cmdClear2, kPageClick, &FormHandlers::cmdClear2_Click},
    {C::cmdClearAll, kPageClick, &FormHandlers::cmdClearAll_Click},
    {C::cmdExit, kPageClick, &FormHandlers::cmdExit_Click},
};

const Notification* NotificationOf(C control, int event) {
  for (const Notification& n : kNotifications)
    if (n.control == control && (n.event == event || event == kPageNoEvent)) return &n;
  return nullptr;
}

}  // namespace

WebController::WebController(const WindowSession::ControlsWrapper& wrap) : session_(controls_, desktop_, wrap) {
  for (const table::ControlRow& row : table::Controls()) {
    const Notification* n = NotificationOf(row.control, kPageNoEvent);
    quillomat_page_bind(static_cast<int>(Index(row.control)), std::string(ControlName(row.control)).c_str(),
                        n ? n->event : kPageNoEvent);
  }
  controls_.OnTextChange([this](C box) { Deliver(box, kPageInput); });
  session_.Run(&FormHandlers::Form_Load);
}

void WebController::Deliver(C control, int event) {
  if (desktop_.Ended()) return;
  if (const Notification* n = NotificationOf(control, event); n && event != kPageNoEvent) session_.Run(n->handler);
}

bool WebController::CopyResults() const {
  if (desktop_.Ended() || !session_.ResultsCurrent()) return false;
  const std::vector<CopyLine> lines = ResultsReport(session_.Controls());
  const std::u16string plain = PlainTextOf(lines), html = HtmlOf(lines);
  quillomat_page_copy(plain.data(), plain.size(), html.data(), html.size());
  return true;
}

void WebController::Explain() const {
  const std::u16string text = session_.VerdictExplanation();
  const std::u16string lines = OneSentenceALine(text);
  quillomat_page_explanation(text.data(), text.size(), lines.data(), lines.size());
}

}  // namespace quillomat::web
