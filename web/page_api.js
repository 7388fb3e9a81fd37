// The page's side of page_api.h: each call passes on to Module.page, the page's own object
// (page.mjs), with the program's UTF-16 texts as JavaScript strings.
mergeInto(LibraryManager.library, {
  // Exact, whatever the text holds: lone surrogates included, and texts of a megabyte.
  $pageString: function (text, length) {
    var start = text >> 1;
    var parts = [];
    for (var at = 0; at < length; at += 8192) {
      parts.push(String.fromCharCode.apply(null, HEAPU16.subarray(start + at, start + Math.min(length, at + 8192))));
    }
    return parts.join('');
  },
  $programString__deps: ['malloc'],
  $programString: function (string, length) {
    var memory = _malloc(string.length * 2 + 2);
    var start = memory >> 1;
    for (var i = 0; i < string.length; ++i) HEAPU16[start + i] = string.charCodeAt(i);
    HEAPU32[length >> 2] = string.length;
    return memory;
  },

  quillomat_page_bind: function (control, name, event) {
    Module['page'].bind(control, UTF8ToString(name), event);
  },
  quillomat_page_text__deps: ['$programString'],
  quillomat_page_text: function (control, length) {
    return programString(Module['page'].text(control), length);
  },
  quillomat_page_caption__deps: ['$programString'],
  quillomat_page_caption: function (control, length) {
    return programString(Module['page'].caption(control), length);
  },
  quillomat_page_set_text__deps: ['$pageString'],
  quillomat_page_set_text: function (control, text, length) {
    return Module['page'].setText(control, pageString(text, length)) ? 1 : 0;
  },
  quillomat_page_set_caption__deps: ['$pageString'],
  quillomat_page_set_caption: function (control, text, length) {
    Module['page'].setCaption(control, pageString(text, length));
  },
  quillomat_page_checked: function (control) {
    return Module['page'].checked(control) ? 1 : 0;
  },
  quillomat_page_set_visible: function (control, visible) {
    Module['page'].setVisible(control, visible !== 0);
  },
  quillomat_page_set_enabled: function (control, enabled) {
    Module['page'].setEnabled(control, enabled !== 0);
  },
  quillomat_page_message__deps: ['$pageString'],
  quillomat_page_message: function (text, length, error) {
    Module['page'].message(pageString(text, length), error !== 0);
  },
  quillomat_page_end: function () {
    Module['page'].end();
  },
  quillomat_page_copy__deps: ['$pageString'],
  quillomat_page_copy: function (plain, plainLength, html, htmlLength) {
    Module['page'].copy(pageString(plain, plainLength), pageString(html, htmlLength));
  },
  quillomat_page_explanation__deps: ['$pageString'],
  quillomat_page_explanation: function (text, length, lines, linesLength) {
    Module['page'].explanation(pageString(text, length), pageString(lines, linesLength));
  },
});
