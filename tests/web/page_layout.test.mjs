// The window as it is drawn: at the table's places on a wide screen, with no text cut off at 100%,
// 150% and 200%; one readable, tappable column on a phone, turned and back; and every text's
// contrast against what is behind it, in a light and a dark scheme.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { kTypical, kTypicalResults, openQuillomat, startSite, windowTable } from './quillomat_page.mjs';

let env;
before(async () => {
  env = await startSite();
});
after(async () => {
  await env?.close();
});

const open = (options) => openQuillomat(env, options);

test('at 100% each control has its rectangle from the table, in a 638 x 399 window centred on the page', async () => {
  const table = windowTable();
  assert.equal(table.controls.size, 36);
  const viewport = { width: 900, height: 700 };
  const q = await open({ viewport });
  await q.enter(kTypical);
  const drawn = await q.page.evaluate(() => {
    const window = document.getElementById('frmStart').getBoundingClientRect();
    const controls = {};
    for (const element of document.querySelectorAll('#frmStart [data-control]')) {
      const box = element.getBoundingClientRect();
      controls[element.dataset.control] = {
        left: box.left - window.left,
        top: box.top - window.top,
        width: box.width,
        height: box.height,
      };
    }
    return { window: { left: window.left, top: window.top, width: window.width, height: window.height }, controls };
  });
  assert.deepEqual(drawn.window, {
    left: (viewport.width - table.width) / 2,
    top: (viewport.height - table.height) / 2,
    width: table.width,
    height: table.height,
  });
  assert.deepEqual(Object.keys(drawn.controls).sort(), [...table.controls.keys()].sort());
  for (const [name, { rect }] of table.controls) assert.deepEqual(drawn.controls[name], rect, name);
  // The picture inside its border at its own size, unscaled.
  const picture = await q.page.$eval('#Image1', (image) => [
    [image.clientWidth, image.clientHeight],
    [image.naturalWidth, image.naturalHeight],
  ]);
  assert.deepEqual(picture, [
    [418, 67],
    [418, 67],
  ]);
  await q.close();
});

// The visible texts that do not fit their control: wider content than the box shows.
function clippedTexts() {
  const clipped = [];
  for (const element of document.querySelectorAll('#frmStart [data-control], #frmStart [data-control] > input')) {
    if (!element.checkVisibility({ visibilityProperty: true })) continue;
    if (element.scrollWidth > element.clientWidth)
      clipped.push(`${element.id || element.dataset.control}: ${element.scrollWidth} > ${element.clientWidth}`);
  }
  return clipped;
}

test('no text is cut off at 100%, 150% and 200%, with the widest values shown', async () => {
  const entries = [
    [['3', '3', '3', '0'], ['100.00%', '00.00%', '50.00%', '100.00%', '80.02%']],
    [['1', '0', '2', '1'], ['00.00%', '50.00%', '33.33%', '50.00%', '113.16%']],
  ];
  for (const deviceScaleFactor of [1, 1.5, 2]) {
    const q = await open({ viewport: { width: 800, height: 600, deviceScaleFactor } });
    for (const [texts, results] of entries) {
      await q.click('cmdClearAll');
      await q.enter(texts);
      assert.deepEqual((await q.results()).slice(0, 5), results);
      assert.deepEqual(await q.page.evaluate(clippedTexts), [], `${texts} at ${deviceScaleFactor * 100}%`);
    }
    if (deviceScaleFactor === 2) await q.shot('page-scale200');
    await q.close();
  }
});

// What the phone layout shows: each control's box, its font size, and whether it is a box to type
// into or tap.
function phoneControls() {
  return [...document.querySelectorAll('#frmStart [data-control]')].map((element) => {
    const box = element.getBoundingClientRect();
    const text = element.matches('div') ? element.querySelector('input') : element;
    return {
      name: element.dataset.control,
      top: box.top + scrollY,
      bottom: box.bottom + scrollY,
      left: box.left,
      width: box.width,
      height: box.height,
      fontSize: parseFloat(getComputedStyle(text).fontSize),
      typed: text.matches('input'),
      hasText: text.matches('input') || element.textContent.trim() !== '',
      tapped: element.matches('input, button, label:has(input[type="radio"]), div:has(> input)'),
    };
  });
}

// Reading order on a phone: each player's caption and boxes, the levels, each result with its
// caption, the warning and the verdict, the buttons.
const kReadingOrder = [
  'lblTitle Label2 lblBase1 txtBase1 lblResp1 txtResp1 Label3 lblBase2 txtBase2 lblResp2 txtResp2',
  'Label1 lblSigLevel opt80 opt90 opt95 opt99 lblPer1 lblPer1b lblPer2 lblPer2b',
  'Label4 lblActDiff lblActDiffb lblDiffNeed lblDiffNeedb lblWAvg lblWAvgb',
  'txtWarnSign txtSigDiff cmdClear1 cmdClear2 cmdClearAll cmdExit',
]
  .join(' ')
  .split(' ');

test('on a phone: one column in reading order, text to read, controls to tap, entries kept when turned', async () => {
  const phone = { width: 375, height: 667, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
  const q = await open({ viewport: phone });
  await q.enter(kTypical);
  await q.shot('page-phone', { fullPage: true });

  const controls = new Map((await q.page.evaluate(phoneControls)).map((c) => [c.name, c]));
  const page = await q.page.evaluate(() => ({ scrollWidth: document.documentElement.scrollWidth, width: innerWidth }));
  assert.ok(page.scrollWidth <= page.width, `the page scrolls sideways: ${page.scrollWidth} > ${page.width}`);
  for (const c of controls.values()) {
    assert.ok(c.left >= 0 && c.left + c.width <= page.width, `${c.name} outside the screen`);
    if (c.hasText) assert.ok(c.fontSize >= (c.typed ? 16 : 14), `${c.name}: ${c.fontSize}px text`);
    if (c.tapped) assert.ok(c.width >= 44 && c.height >= 44, `${c.name}: ${c.width} x ${c.height}`);
  }
  for (const name of ['txtBase1', 'txtSigDiff', 'cmdExit', 'opt80']) assert.ok(controls.get(name).tapped, name);

  // Each next control is below the one before it, or beside it on its right in the same row.
  for (let i = 1; i < kReadingOrder.length; ++i) {
    const a = controls.get(kReadingOrder[i - 1]);
    const b = controls.get(kReadingOrder[i]);
    const below = b.top >= a.bottom - 0.5;
    const besideRight = b.top < a.bottom && a.top < b.bottom && b.left >= a.left + a.width - 0.5;
    assert.ok(below || besideRight, `${b.name} does not follow ${a.name}: ${JSON.stringify([a, b])}`);
  }

  for (const viewport of [{ ...phone, width: 667, height: 375 }, phone]) {
    await q.page.setViewport(viewport);
    assert.deepEqual(await q.texts(), kTypical, `${viewport.width} x ${viewport.height}`);
    assert.deepEqual(await q.results(), kTypicalResults, `${viewport.width} x ${viewport.height}`);
    assert.equal(await q.visible(), '1111110');
  }
  await q.close();
});

// Each visible text of the page with its contrast ratio against the opaque colours behind it:
// labels, values, headings, levels, the boxes' texts, enabled buttons and the message box.
function contrasts() {
  const parse = (text) => {
    const match = /^rgba?\(([^)]*)\)$/.exec(text);
    if (match === null) throw new Error(`a colour that is not rgb(): ${text}`);
    const [r, g, b, a = 1] = match[1].split(/[\s,/]+/).filter(Boolean).map(Number);
    return { r, g, b, a };
  };
  const over = (top, bottom) => {
    const mix = (channel) => top[channel] * top.a + bottom[channel] * (1 - top.a);
    return { r: mix('r'), g: mix('g'), b: mix('b'), a: 1 };
  };
  const behind = (element) => {
    const layers = [];
    for (let e = element; e !== null; e = e.parentElement) {
      const colour = parse(getComputedStyle(e).backgroundColor);
      if (colour.a > 0) layers.push(colour);
      if (colour.a >= 1) break;
    }
    let colour = layers.pop();
    if (colour === undefined || colour.a < 1) throw new Error(`no opaque background behind ${element.id}`);
    while (layers.length > 0) colour = over(layers.pop(), colour);
    return colour;
  };
  const opacity = (element) => {
    let product = 1;
    for (let e = element; e !== null; e = e.parentElement) product *= parseFloat(getComputedStyle(e).opacity);
    return product;
  };
  const luminance = ({ r, g, b }) => {
    const linear = (c) => (c / 255 <= 0.04045 ? c / 255 / 12.92 : ((c / 255 + 0.055) / 1.055) ** 2.4);
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
  };
  const results = [];
  for (const element of document.body.querySelectorAll('*')) {
    const text = element.matches('input')
      ? element.value.trim()
      : [...element.childNodes]
          .filter((node) => node.nodeType === Node.TEXT_NODE)
          .map((node) => node.textContent)
          .join('')
          .trim();
    if (text === '' || !element.checkVisibility({ visibilityProperty: true, opacityProperty: true })) continue;
    if (element.getBoundingClientRect().width === 0) continue;
    if (element.closest('button')?.disabled) continue;
    const style = getComputedStyle(element);
    const background = behind(element);
    const ink = parse(style.webkitTextFillColor || style.color);
    const shown = over({ ...ink, a: ink.a * opacity(element) }, background);
    const [light, dark] = [luminance(shown), luminance(background)].sort((x, y) => y - x);
    results.push({
      text: text.slice(0, 40),
      id: element.id || element.closest('[id]')?.id,
      ratio: Math.round(((light + 0.05) / (dark + 0.05)) * 100) / 100,
    });
  }
  return results;
}

test('every visible text has a contrast of at least 4.5:1, in a light and in a dark scheme', async () => {
  for (const colorScheme of ['light', 'dark']) {
    const q = await open({ colorScheme });
    await q.enter(kTypical);
    await q.type('txtResp2', '0'); // the warning beside the verdict
    assert.equal(await q.visible(), '1111111');
    await q.shot(`page-${colorScheme}`);
    const window = await q.page.evaluate(contrasts);
    for (const text of ['Significance Testing Using T-Test', '08.48%', 'SIGNIFICANTLY DIFFERENT', 'Base has to be']) {
      assert.ok(
        window.some((shown) => shown.text.startsWith(text)),
        `${text} among the texts checked`,
      );
    }
    const low = window.filter((shown) => shown.ratio < 4.5);
    assert.deepEqual(low, [], `${colorScheme}: texts below 4.5:1`);

    await q.backspace('txtResp2');
    await q.click('cmdClear2');
    await q.click('opt90');
    assert.equal((await q.message()).open, true);
    const inBox = ['messageTitle', 'messageText', 'messageOk'];
    const box = (await q.page.evaluate(contrasts)).filter((shown) => inBox.includes(shown.id));
    assert.equal(box.length, 3);
    assert.deepEqual(
      box.filter((shown) => shown.ratio < 4.5),
      [],
      `${colorScheme}: the message box's texts below 4.5:1`,
    );
    await q.page.keyboard.press('Enter');
    await q.close();
  }
});
