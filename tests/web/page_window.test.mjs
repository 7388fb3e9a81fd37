// The window on the page driven as a user drives it, with real keys and clicks: the typical run,
// the worked examples, the warning, a run-time error, the message box, the clear buttons and their
// access keys, the end of the program and the Tab order. The cases are the desktop tests' own.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { kBoxes, kNo, kTypical, kTypicalResults, kYes, openQuillomat, startSite } from './quillomat_page.mjs';

let env;
before(async () => {
  env = await startSite();
});
after(async () => {
  await env?.close();
});

const open = (options) => openQuillomat(env, options);

test('the typical run keystroke by keystroke from the window as it opens, then 99% and Clear One', async () => {
  const q = await open();
  assert.deepEqual(await q.state(), {
    texts: ['', '', '', ''],
    results: ['', '', '', '', '', ''],
    visible: '1111100',
    enabled: '000',
    level: 'opt95',
  });
  assert.equal(await q.focused(), 'txtBase1');
  const steps = [
    ['txtBase1', '2', '100', '0000000'],
    ['txtBase1', '0', '100', '0000000'],
    ['txtBase1', '0', '100', '0000000'],
    ['txtResp1', '5', '100', '0000000'],
    ['txtResp1', '0', '100', '0000000'],
    ['txtBase2', '3', '111', '0000000'],
    ['txtBase2', '0', '111', '0000000'],
    ['txtBase2', '0', '111', '0000000'],
    ['txtResp2', '1', '111', '1111110'],
    ['txtResp2', '2', '111', '1111110'],
    ['txtResp2', '0', '111', '1111110'],
  ];
  for (const [index, [box, key, enabled, visible]] of steps.entries()) {
    await q.type(box, key);
    assert.equal(await q.enabled(), enabled, `keystroke ${index}`);
    assert.equal(await q.visible(), visible, `keystroke ${index}`);
  }
  assert.deepEqual(await q.texts(), kTypical);
  assert.deepEqual(await q.results(), kTypicalResults);
  assert.equal(kYes.length, 27);
  await q.shot('page-typical-run');

  await q.click('opt99');
  assert.equal(await q.checkedLevel(), 'opt99');
  assert.deepEqual(await q.results(), ['25.00%', '40.00%', '34.00%', '15.00%', '10.08%', kYes]);
  await q.click('cmdClear1');
  assert.equal(await q.visible(), '0000000');
  assert.equal(await q.enabled(), '010');
  assert.deepEqual(await q.texts(), ['', '', '300', '120']);
  await q.close();
});

test('the worked examples typed in and switched between levels', async () => {
  const q = await open();
  const examples = [
    [['100', '10', '100', '20'], 'opt80', '06.46%', kYes],
    [['100', '10', '100', '20'], 'opt99', '11.77%', kNo],
    [['100', '10', '100', '20'], 'opt95', '09.90%', kYes],
    [['1000', '523', '1000', '480'], 'opt90', '03.67%', kYes],
    [['100', '50', '100', '50'], 'opt95', '13.86%', kNo],
    [['1', '0', '2', '1'], 'opt95', '113.16%', kNo],
    [['3', '0', '3', '3'], 'opt95', '80.02%', kYes],
  ];
  for (const [texts, level, needed, verdict] of examples) {
    if ((await q.value('txtBase1')) !== texts[0]) {
      await q.click('cmdClearAll');
      await q.enter(texts);
    }
    await q.click(level);
    const [, , , , shownNeeded, shownVerdict] = await q.results();
    assert.deepEqual([shownNeeded, shownVerdict], [needed, verdict], `${texts} at ${level}`);
    assert.equal(await q.visible(), '1111110');
  }
  await q.close();
});

test('the warning keeps the previous results and verdict', async () => {
  const q = await open();
  await q.enter(kTypical);
  await q.type('txtResp2', '0'); // 1200 of 300
  assert.equal(await q.visible(), '1111111');
  assert.deepEqual(await q.results(), kTypicalResults);
  assert.equal(await q.value('txtWarnSign'), 'Base has to be higher than Results');
  await q.shot('page-warning');
  await q.backspace('txtResp2');
  assert.equal(await q.visible(), '1111110');
  assert.deepEqual(await q.results(), kTypicalResults);
  await q.close();
});

test('a run-time error is reported in the message box, and the program carries on', async () => {
  const q = await open();
  await q.enter(kTypical);
  await q.selectAllAndDelete('txtBase1');
  await q.selectAllAndDelete('txtResp1');
  await q.type('txtBase1', '0');
  await q.type('txtResp1', '0');
  const message = await q.message();
  assert.equal(message.open, true);
  assert.equal(message.error, true);
  assert.match(message.text, /^Player 1's base and results are both zero/);
  assert.deepEqual(message.buttons, ['OK']);
  await q.shot('page-error');
  await q.page.keyboard.press('Enter');
  assert.equal((await q.message()).open, false);
  assert.equal(await q.focused(), 'txtResp1');
  assert.deepEqual(await q.results(), kTypicalResults);
  assert.equal(await q.visible(), '1111100'); // shown by the fill test, the warning hidden by the calculation
  await q.backspace('txtBase1');
  await q.type('txtBase1', '10'); // 0 of 10
  assert.deepEqual(await q.results(), ['00.00%', '40.00%', '38.71%', '40.00%', '30.69%', kYes]);
  assert.equal(await q.visible(), '1111110');
  await q.close();
});

test('a level with a box empty asks in a modal box, closed by Enter, Space, Escape or a click, focus back', async () => {
  const q = await open();
  await q.enter(['200', '50', '300', '']);
  const ways = [
    ['opt90', () => q.page.keyboard.press('Enter')],
    ['opt99', () => q.page.keyboard.press('Space')],
    ['opt95', () => q.page.keyboard.press('Escape')],
    ['opt80', () => q.click('messageOk')],
  ];
  for (const [level, answer] of ways) {
    const before = await q.state();
    await q.click(level);
    const message = await q.message();
    assert.deepEqual(
      message,
      { open: true, text: 'Please insert all numbers first', error: false, buttons: ['OK'], focused: 'messageOk' },
      level,
    );
    if (level === 'opt80') await q.shot('page-message-box');

    // The window takes no click and no key while the box is open, and OK keeps the focus.
    for (const id of ['cmdClear1', 'txtBase2', 'opt80', 'messageText']) {
      const box = await q.page.$eval(`#${id}`, (element) => {
        const { x, y, width, height } = element.getBoundingClientRect();
        return { x: x + width / 2, y: y + height / 2 };
      });
      await q.page.mouse.click(box.x, box.y);
    }
    await q.page.keyboard.type('7');
    await q.altKey('o');
    assert.deepEqual(await q.message(), message, level);
    assert.deepEqual(await q.state(), { ...before, level }, level);

    await answer();
    assert.equal((await q.message()).open, false, level);
    assert.equal(await q.focused(), level, level);
    assert.deepEqual(await q.state(), { ...before, level }, level);
  }
  await q.type('txtResp2', '120');
  assert.equal((await q.results())[4], '05.54%'); // calculated at the level clicked last
  await q.close();
});

test('the clear buttons by click and by their access keys', async () => {
  const q = await open();
  const cases = [
    ['cmdClear1', 'o', ['', '', '300', '120'], '010'],
    ['cmdClear2', 't', ['200', '50', '', ''], '100'],
    ['cmdClearAll', 'a', ['', '', '', ''], '000'],
  ];
  for (const [button, letter, texts, enabled] of cases) {
    for (const by of ['click', 'key']) {
      for (const box of kBoxes) await q.selectAllAndDelete(box);
      await q.enter(kTypical);
      if (by === 'click') await q.click(button);
      else await q.altKey(letter);
      assert.deepEqual(await q.texts(), texts, `${button} by ${by}`);
      assert.equal(await q.enabled(), enabled, `${button} by ${by}`);
      assert.equal(await q.visible(), '0000000', `${button} by ${by}`);
    }
  }
  await q.close();
});

test('an access key of a disabled button, or of none, does nothing and types nothing', async () => {
  const q = await open();
  await q.enter(['200', '50', '', '']);
  for (const letter of ['t', 'a', 'q']) {
    await q.altKey(letter);
    assert.equal(await q.focused(), 'txtResp1', `Alt+${letter}`);
    assert.deepEqual(await q.texts(), ['200', '50', '', ''], `Alt+${letter}`);
    assert.equal(await q.enabled(), '100', `Alt+${letter}`);
  }
  await q.altKey('o');
  assert.deepEqual(await q.texts(), ['', '', '', '']);
  assert.equal(await q.enabled(), '000');
  await q.close();
});

test('Exit, by click and by Alt+X, ends the program; it starts afresh on request', async () => {
  for (const by of ['click', 'key']) {
    const q = await open();
    await q.enter(['200', '50', '300', '12000']);
    await q.page.waitForFunction(() => location.hash !== '', { timeout: 2000 });
    if (by === 'click') await q.click('cmdExit');
    else await q.altKey('x');
    const ended = await q.page.evaluate(() => ({
      window: document.getElementById('frmStart').checkVisibility(),
      notice: [...document.querySelectorAll('#ended > *')].map((e) => e.checkVisibility() && e.textContent),
      focused: document.activeElement.id,
    }));
    assert.deepEqual(ended, {
      window: false,
      notice: ['Quillomat has ended.', 'Start Quillomat again'],
      focused: 'startAgain',
    });
    await q.page.keyboard.type('5');
    await q.altKey('a');
    assert.deepEqual(await q.texts(), ['200', '50', '300', '12000'], by);
    if (by === 'key') await q.shot('page-ended');

    await Promise.all([q.page.waitForNavigation(), q.click('startAgain')]);
    await q.ready();
    assert.equal(await q.page.evaluate(() => location.hash), '');
    assert.deepEqual(await q.texts(), ['', '', '', ''], by);
    assert.equal(await q.visible(), '1111100', by);
    assert.equal(await q.focused(), 'txtBase1', by);
    await q.page.keyboard.type('7');
    assert.equal(await q.enabled(), '100', by);
    await q.close();
  }
});

test('Tab goes through the boxes, Exit, the enabled clear buttons and the selected level', async () => {
  const cases = [
    [['', '', '', ''], null, ['txtBase1', 'txtResp1', 'txtBase2', 'txtResp2', 'cmdExit', 'opt95']],
    [['4', '', '', ''], 'opt90', ['txtBase1', 'txtResp1', 'txtBase2', 'txtResp2', 'cmdExit', 'cmdClear1', 'opt90']],
    [['', '', '', ' '], null, ['txtBase1', 'txtResp1', 'txtBase2', 'txtResp2', 'cmdExit', 'cmdClear2', 'opt95']],
    [
      kTypical,
      'opt99',
      ['txtBase1', 'txtResp1', 'txtBase2', 'txtResp2', 'cmdExit', 'cmdClear1', 'cmdClear2', 'cmdClearAll', 'opt99'],
    ],
  ];
  for (const [texts, level, order] of cases) {
    const q = await open();
    await q.enter(texts);
    if (level !== null) {
      await q.click(level);
      if ((await q.message()).open) await q.page.keyboard.press('Escape');
    }
    await q.click('txtBase1');
    const forward = [await q.focused()];
    for (let i = 1; i < order.length; ++i) {
      await q.page.keyboard.press('Tab');
      forward.push(await q.focused());
    }
    assert.deepEqual(forward, order, `${texts}`);
    const backward = [await q.focused()];
    for (let i = 1; i < order.length; ++i) {
      await q.chord('Shift', 'Tab');
      backward.push(await q.focused());
    }
    assert.deepEqual(backward, [...order].reverse(), `${texts}, backwards`);
    await q.close();
  }
});
