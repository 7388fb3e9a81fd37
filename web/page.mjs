// The page's side of Quillomat: the window's elements as the program's controls, the events the
// program asks for, its message box, the tooltips, the access keys, Copy Results, the address that
// shares a comparison, the end of the program and offline use. The program itself is
// quillomat.wasm, which quillomat.js loads; it calls the page through `page` below (page_api.js).
// The site's page.mjs has the loader itself in place of this import (write_page_module.cmake).
import createQuillomat from './quillomat.js';

// The events the program asks for (page_api.h).
const INPUT = 1;
const CLICK = 2;

const frmStart = document.getElementById('frmStart');
const elements = []; // by control, in creation order
const boxes = []; // the element that holds each control's place
let program = null;
let ended = false;
let pendingCopy = null; // the copy event being answered
let explanation = { text: '', lines: '' };

function deliver(control, event) {
  if (program === null || ended) return;
  program._quillomat_event(control, event);
  afterEvent();
}

const page = {
  bind(control, name, event) {
    const element = document.getElementById(name);
    elements[control] = element;
    boxes[control] = element.closest('[data-control]');
    if (event === INPUT) element.addEventListener('input', () => deliver(control, INPUT));
    if (event === CLICK) element.addEventListener('click', () => deliver(control, CLICK));
  },
  text: (control) => elements[control].value,
  setText(control, text) {
    const box = elements[control];
    if (box.value === text) return false;
    box.value = text;
    return true;
  },
  caption: (control) => elements[control].textContent,
  // The caption's one text node takes the new text, so the label keeps what the browser laid out
  // for it and the next layout redoes less than for a new node.
  setCaption(control, text) {
    const label = elements[control];
    const node = label.firstChild;
    if (node !== null && node === label.lastChild && node.nodeType === Node.TEXT_NODE) node.data = text;
    else label.textContent = text;
  },
  checked: (control) => elements[control].checked,
  setVisible(control, visible) {
    boxes[control].classList.toggle('hidden', !visible);
  },
  setEnabled(control, enabled) {
    elements[control].disabled = !enabled;
  },
  message: (text, error) => messageBox.show(text, error),
  end: () => endProgram(),
  copy(plain, html) {
    pendingCopy.clipboardData.setData('text/plain', plain);
    pendingCopy.clipboardData.setData('text/html', html);
  },
  explanation(text, lines) {
    explanation = { text, lines };
  },
};

// The program compiles from here on, while the rest of the page gets ready.
const programLoaded = createQuillomat({ page });

// --- The message box ------------------------------------------------------------------------

// Modal: the rest of the page takes no input until it is answered, by OK, Enter, Space or Escape;
// then the focus is back where it was.
const messageBox = (() => {
  const dialog = document.getElementById('messageBox');
  const text = document.getElementById('messageText');
  const ok = document.getElementById('messageOk');
  const waiting = [];
  let returnFocus = null;

  function next() {
    const message = waiting.shift();
    text.textContent = message.text;
    dialog.classList.toggle('error', message.error);
    dialog.showModal();
    ok.focus();
  }
  ok.addEventListener('click', () => dialog.close());
  // A click beside OK, on the box or on the window behind it, would take the focus from OK to the
  // dialog, and Space would no longer answer.
  dialog.addEventListener('mousedown', (event) => {
    if (event.target !== ok) event.preventDefault();
  });
  dialog.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      event.preventDefault();
      dialog.close();
    }
  });
  dialog.addEventListener('close', () => {
    if (waiting.length > 0) return next();
    returnFocus?.focus();
    returnFocus = null;
  });
  return {
    show(message, error) {
      waiting.push({ text: message, error });
      if (dialog.open) return;
      returnFocus = document.activeElement;
      next();
    },
    get open() {
      return dialog.open;
    },
  };
})();

// --- Tooltips ---------------------------------------------------------------------------------

// A control's tooltip shows when the pointer rests on it; the verdict's explanation also on a tap,
// as a touch screen has no pointer to rest.
const toolTip = (() => {
  const tip = document.getElementById('toolTip');
  let shownFor = null;
  let hovered = null;
  let timer = 0;

  function textFor(box) {
    if (!box.hasAttribute('data-explain')) return box.dataset.tip;
    program._quillomat_explain();
    return explanation.lines;
  }
  function show(box) {
    const text = program === null ? '' : textFor(box);
    if (!text) return;
    tip.textContent = text;
    tip.hidden = false;
    const place = box.getBoundingClientRect();
    const size = tip.getBoundingClientRect();
    const left = Math.max(4, Math.min(place.left, innerWidth - size.width - 4));
    const below = place.bottom + 4;
    const top = below + size.height <= innerHeight - 4 ? below : Math.max(4, place.top - size.height - 4);
    tip.style.left = `${left}px`;
    tip.style.top = `${top}px`;
    shownFor = box;
  }
  function hide() {
    clearTimeout(timer);
    tip.hidden = true;
    shownFor = null;
  }
  const tipBox = (target) => target.closest?.('[data-tip], [data-explain]') ?? null;

  frmStart.addEventListener('pointermove', (event) => {
    if (event.pointerType === 'touch') return;
    const box = tipBox(event.target);
    if (box === hovered) return;
    hovered = box;
    hide();
    if (box !== null) timer = setTimeout(() => show(box), 600);
  });
  // A finger leaves the page as it lifts, right after the tap that showed the explanation.
  frmStart.addEventListener('pointerleave', (event) => {
    if (event.pointerType === 'touch') return;
    hovered = null;
    hide();
  });
  document.addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'touch') hide();
  });
  document.addEventListener('pointerup', (event) => {
    if (event.pointerType !== 'touch') return;
    const box = tipBox(event.target);
    const tapped = box !== null && box.hasAttribute('data-explain') && box !== shownFor;
    hide();
    if (tapped) show(box);
  });
  document.addEventListener('keydown', hide);
  addEventListener('scroll', hide, true);
  return { hide };
})();

// --- Access keys ------------------------------------------------------------------------------

// Alt with a letter presses the button that shows it underlined (Option on a Mac: the key's code,
// not the character it types). It never types into a box, whether or not its button can be pressed.
document.addEventListener('keydown', (event) => {
  if (!event.altKey || event.ctrlKey || event.metaKey || program === null || ended || messageBox.open) return;
  const letter = /^Key([A-Z])$/.exec(event.code);
  if (letter === null) return;
  const button = frmStart.querySelector(`[aria-keyshortcuts="Alt+${letter[1]}"]`);
  if (button === null && !(event.target instanceof HTMLInputElement)) return;
  event.preventDefault();
  if (button !== null && !button.disabled) button.click();
});

// --- Copy Results -----------------------------------------------------------------------------

// Ctrl+C (Cmd+C) copies the results while they are current, unless a box has text selected to copy.
document.addEventListener('copy', (event) => {
  if (program === null || ended || messageBox.open) return;
  const focused = document.activeElement;
  if (focused instanceof HTMLInputElement && focused.selectionStart !== focused.selectionEnd) return;
  pendingCopy = event;
  try {
    if (program._quillomat_copy()) event.preventDefault();
  } finally {
    pendingCopy = null;
  }
});

// --- The address ------------------------------------------------------------------------------

// "#b1=200&r1=50&b2=300&r2=120&level=95": the four entries and the level, kept current once typing
// pauses, so that the address shares the comparison on screen.
const kShared = [
  ['b1', 'txtBase1'],
  ['r1', 'txtResp1'],
  ['b2', 'txtBase2'],
  ['r2', 'txtResp2'],
];
const kLevels = ['80', '90', '95', '99'];
const kPause = 300;

function sharedEntries() {
  const params = new URLSearchParams(location.hash.slice(1));
  const keys = [...params.keys()];
  const expected = [...kShared.map(([key]) => key), 'level'];
  if (keys.length !== expected.length || !expected.every((key) => params.getAll(key).length === 1)) return null;
  if (!kLevels.includes(params.get('level'))) return null;
  return {
    level: document.getElementById(`opt${params.get('level')}`),
    texts: kShared.map(([key, id]) => [document.getElementById(id), params.get(key)]),
  };
}

// Enters the address's comparison as typing would, so that the same handlers run.
function enterShared() {
  const entries = sharedEntries();
  if (entries === null) return;
  entries.level.checked = true;
  for (const [box, text] of entries.texts) {
    if (box.value === text) continue;
    box.value = text;
    box.dispatchEvent(new Event('input', { bubbles: true }));
  }
}

function share() {
  const params = new URLSearchParams();
  let empty = true;
  for (const [key, id] of kShared) {
    const text = document.getElementById(id).value;
    params.set(key, text);
    empty &&= text === '';
  }
  const level = kLevels.find((percent) => document.getElementById(`opt${percent}`).checked) ?? '95';
  params.set('level', level);
  const address = new URL(location.href);
  address.hash = empty && level === '95' ? '' : params.toString();
  if (address.href !== location.href) history.replaceState(history.state, '', address.href);
}

// The verdict's explanation as its accessible description, brought up to date with the address.
function describeVerdict() {
  program._quillomat_explain();
  const description = document.getElementById('txtSigDiff-description');
  if (description.textContent !== explanation.text) description.textContent = explanation.text;
}

// A keystroke only notes its time; the one timer waits on until the typing has paused.
let pause = 0;
let lastEvent = 0;
function paused() {
  const rest = lastEvent + kPause - performance.now();
  if (rest > 0) {
    pause = setTimeout(paused, rest);
    return;
  }
  pause = 0;
  if (program === null || ended) return;
  share();
  describeVerdict();
}
function afterEvent() {
  lastEvent = performance.now();
  if (pause === 0) pause = setTimeout(paused, kPause);
}

addEventListener('hashchange', () => {
  if (program !== null && !ended) enterShared();
});

// --- The end of the program -------------------------------------------------------------------

// Exit closes the window where the browser lets the page close it; otherwise the page says that
// Quillomat has ended and offers to start it again.
function endProgram() {
  ended = true;
  toolTip.hide();
  if (window.opener !== null || history.length === 1) window.close();
  frmStart.hidden = true;
  const notice = document.getElementById('ended');
  notice.hidden = false;
  document.getElementById('startAgain').focus();
}

document.getElementById('startAgain').addEventListener('click', () => {
  location.replace(location.pathname + location.search);
});

// --- Fitting ----------------------------------------------------------------------------------

// A value the window must show whole, "100.00%" say, has its letters drawn closer where the face
// the browser has is wider than the one the window was drawn for: never by more than a tenth of
// its size, as on the desktop.
const measure = document.createElement('canvas').getContext('2d');
const wide = matchMedia(`(min-width: ${frmStart.dataset.width}px)`);

function fitWidest() {
  const values = [...frmStart.querySelectorAll('[data-widest]')];
  for (const value of values) value.style.letterSpacing = '';
  if (!wide.matches) return;
  // All measured before any is spaced, so that the page is laid out once for them all.
  const spacings = values.map((value) => {
    const style = getComputedStyle(value);
    measure.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
    const text = value.dataset.widest;
    const room = value.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const excess = measure.measureText(text).width - room;
    return excess <= 0 ? '' : `${-Math.min(excess / text.length, parseFloat(style.fontSize) / 10)}px`;
  });
  values.forEach((value, i) => (value.style.letterSpacing = spacings[i]));
}
wide.addEventListener('change', fitWidest);

// --- Start ------------------------------------------------------------------------------------

function firstInTabOrder() {
  const stops = [...frmStart.querySelectorAll('[tabindex]')].filter((e) => !e.disabled && e.tabIndex > 0);
  stops.sort((a, b) => a.tabIndex - b.tabIndex);
  return stops.find((e) => e.type !== 'radio' || e.checked) ?? null;
}

async function start() {
  fitWidest();
  program = await programLoaded;
  frmStart.inert = false;
  enterShared();
  // A phone would open its keyboard over the page.
  if (!matchMedia('(pointer: coarse)').matches) firstInTabOrder()?.focus();
  // Offline use waits until the page has loaded, so that the worker takes nothing from the start.
  if ('serviceWorker' in navigator) {
    const register = () => navigator.serviceWorker.register('sw.js').catch(() => {});
    if (document.readyState === 'complete') setTimeout(register);
    else addEventListener('load', register, { once: true });
  }
}

start().catch((error) => {
  messageBox.show(`Quillomat could not be started in this browser.\n${error}`, true);
});
