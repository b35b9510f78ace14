// The modal screens, a resize and a zoom in the middle of a tarvo, a key held while the page
// loses the focus, and mouse buttons pressed together.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;
const CLOSE = /^C ?h ?i ?u ?d ?i$/;

let browser;
test.before(async () => {
    if (!skip) browser = await t.launch();
});
test.after(() => browser && browser.close());

async function game(n = 15, options) {
    const s = await t.open(browser, options);
    await t.curtainsOpen(s.page);
    await t.WAYS.keys.choose(s, n);
    await s.page.waitForFunction(() => document.title === 'Form1');
    await t.until(s.page, () => t.current(s.cdp), 'the first ray');
    return s;
}

const cellReads = ({ page, cdp }, ray, answer) => t.until(page,
    async () => (await t.rays(cdp)).some((r) => r.k === ray.k && r.answer === answer),
    `the cell of ${ray.n} - ${ray.k} to read ${answer}`);

// Where the pointer falls on a button, and whether the element there is that button.
const hits = (page, name) =>
    t.button(page, name, true).evaluate((b) => {
        const r = b.getBoundingClientRect();
        const at = document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2);
        return at === b || b.contains(at);
    });

// Each modal screen from its menu: in front, the page titled after it, the window beneath deaf
// to keys and presses, closed by its own button, the focus then where the program puts it.
const MODALS = [
    { menu: 'Autore', from: 'start', under: 'Tavole della moltiplicazione', below: '15', focus: '10' },
    { menu: 'Istruzioni', from: 'game', title: 'ISTRUZIONI', under: 'Form1', below: '5', focus: '1' },
];

for (const m of MODALS) {
    test(`the ${m.menu} screen is modal`, { skip }, async () => {
        const s = m.from === 'game' ? await game() : await t.open(browser);
        const { page, cdp } = s;
        if (m.from === 'start') await t.curtainsOpen(page);
        const before = JSON.stringify(await t.rays(cdp));
        await page.getByRole('menuitem', { name: m.menu }).click();
        const dialog = page.getByRole('dialog');
        await dialog.waitFor();
        await page.waitForFunction((title) => document.title === title, m.title || m.menu);
        // Input beneath reaches nothing: a key, and a press where a button beneath stands.
        assert.strictEqual(await hits(page, m.below), false, 'a press would reach the screen beneath');
        const box = await t.button(page, m.below, true).boundingBox();
        await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
        await page.keyboard.press('Digit5');
        await page.keyboard.press('Tab');
        assert.ok(await dialog.evaluate((d) => d.contains(document.activeElement)));
        await dialog.getByRole('button', { name: CLOSE }).click();
        await dialog.waitFor({ state: 'hidden' });
        await page.waitForFunction((title) => document.title === title, m.under);
        assert.strictEqual(JSON.stringify(await t.rays(cdp)), before, 'the game changed');
        await t.until(page, async () => (await t.focusedName(cdp)) === m.focus, `focus on ${m.focus}`);
        if (m.from === 'start')
            assert.strictEqual(await page.getByText(/tarvo del 15/i).count(), 0);
        await s.context.close();
    });
}

// Resizing and zooming are a Resize of the window: the controls keep their proportional places
// in the new viewport, and the tarvo goes on.
test('a resize and a zoom in the middle of a tarvo', { skip }, async () => {
    const s = await game(16);
    const { page, cdp } = s;
    await t.play(s, t.WAYS.keys, { wrong: false, rays: 3 });
    const place = () =>
        t.button(page, 'Avanti').evaluate((b) => {
            const r = b.getBoundingClientRect();
            return { x: r.right / innerWidth, y: r.bottom / innerHeight, w: innerWidth };
        });
    const at = await place();
    const STEPS = [
        () => page.setViewportSize({ width: 1024, height: 600 }),
        // The browser's zoom at 150 %: fewer, larger CSS pixels in the same window.
        () => cdp.send('Emulation.setDeviceMetricsOverride',
            { width: 853, height: 683, deviceScaleFactor: 1.5, mobile: false }),
    ];
    for (const [i, step] of STEPS.entries()) {
        const width = (await place()).w;
        await step();
        const now = await t.until(page, async () => {
            const p = await place();
            return p.w !== width && Math.abs(p.x - at.x) < 0.01 && Math.abs(p.y - at.y) < 0.02 && p;
        }, `the keypad laid out again (step ${i})`);
        assert.ok(now.x <= 1 && now.y <= 1);
        await t.play(s, t.WAYS.keys, { wrong: false, rays: 1 });
    }
    await t.play(s, t.WAYS.keys, { wrong: false, rays: 3 });
    await t.celebrating(s);
    await s.context.close();
});

// A key goes down and the page loses the focus before it comes up: the release is taken as
// made, so the next press of that key acts; while it is held, it never acts twice.
test('a key held while the page loses the focus', { skip }, async () => {
    const s = await game(18);
    const { page, cdp } = s;
    const ray = await t.current(cdp);
    const down = (autoRepeat) => cdp.send('Input.dispatchKeyEvent',
        { type: 'keyDown', code: 'Digit5', key: '5', text: '5', windowsVirtualKeyCode: 53, autoRepeat });
    const cell = (answer) => cellReads(s, ray, answer);
    await down(false);
    await cell('5');
    await down(true);
    await down(false); // still held: no key-up came between
    const other = await s.context.newPage();
    await other.bringToFront();
    await page.waitForFunction(() => !document.hasFocus(), null, { polling: 50 }); // no frames
    await other.close();
    await page.bringToFront();
    await page.waitForFunction(() => document.hasFocus());
    assert.strictEqual((await t.rays(cdp)).find((r) => r.k === ray.k).answer, '5');
    await down(false);
    await cell('55');
    await s.context.close();
});

// A further mouse button going down while one is held is a press of its own on the held button.
test('mouse buttons pressed together', { skip }, async () => {
    const s = await game(16);
    const ray = await t.current(s.cdp);
    await t.button(s.page, '1').hover();
    await s.page.mouse.down({ button: 'left' });
    await cellReads(s, ray, '1');
    await s.page.mouse.down({ button: 'right' });
    await cellReads(s, ray, '11');
    await s.context.close();
});
