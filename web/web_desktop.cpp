#include "web_desktop.h"

#include "page_api.h"

namespace quillomat::web {

void WebDesktop::MessageBox(std::u16string_view prompt) { quillomat_page_message(prompt.data(), prompt.size(), 0); }

void WebDesktop::ReportError(std::u16string_view message) { quillomat_page_message(message.data(), message.size(), 1); }

void WebDesktop::EndProgram() {
  ended_ = true;
  quillomat_page_end();
}

}  // namespace quillomat::web
