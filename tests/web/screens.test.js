// The modal screens, a resize and a zoom in the middle of a tarvo, a key held while the page
// loses the focus, and mouse buttons pressed together.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;

let browser;
test.before(async () => {
    if (!skip) browser = await t.launch();
});
test.after(() => browser && browser.close());

// Whether a press at the centre of a button lands on it.
const hits = (s, name) => s.tab.eval((name) => {
    const b = [...document.querySelectorAll('button')].find((e) => e.textContent === name);
    const r = b.getBoundingClientRect();
    const at = document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2);
    return at === b || b.contains(at);
}, name);

const inDialog = (s) => s.tab.eval(() => {
    const d = document.querySelector('dialog[open]');
    return !!d && d.contains(document.activeElement);
});

// Each modal screen from its menu: in front, the page titled after it, the window beneath deaf
// to keys and presses, closed by its own button, the focus then where the program puts it.
const MODALS = [
    { menu: 'Autore', from: 'start', under: 'Tavole della moltiplicazione', below: '15', focus: '10' },
    { menu: 'Istruzioni', from: 'game', title: 'ISTRUZIONI', under: 'Form1', below: '5', focus: '1' },
];

for (const m of MODALS) {
    test(`the ${m.menu} screen is modal`, { skip }, () => t.withPage(browser, {}, async (s) => {
        if (m.from === 'start') await t.curtainsOpen(s);
        const before = JSON.stringify(await t.rays(s));
        await t.openModal(s, m.menu);
        await t.titled(s, m.title || m.menu);
        // Input beneath reaches nothing: a key, and a press where a button beneath stands.
        assert.strictEqual(await hits(s, m.below), false, 'a press would reach the screen beneath');
        const [x, y] = await t.centre(s, m.below, { beneath: true });
        await s.tab.mouse('down', x, y);
        await s.tab.mouse('up', x, y);
        await t.press(s, 'Digit5');
        await t.press(s, 'Tab');
        assert.ok(await inDialog(s), 'the focus left the modal screen');
        await t.closeModal(s);
        await t.titled(s, m.under);
        assert.strictEqual(JSON.stringify(await t.rays(s)), before, 'the game changed');
        await t.until(async () => (await t.focusedName(s)) === m.focus, `focus on ${m.focus}`);
        if (m.from === 'start')
            assert.ok(!(await s.tab.eval(() => /tarvo del 15/i.test(document.body.innerText))));
    }, m.from === 'game' && 15));
}

// Resizing and zooming are a Resize of the window: the controls keep their proportional places
// in the new viewport, and the tarvo goes on.
test('a resize and a zoom in the middle of a tarvo', { skip }, () => t.withPage(browser, {}, async (s) => {
    await t.play(s, t.WAYS.keys, { wrong: false, rays: 3 });
    const place = () => s.tab.eval(() => {
        const b = [...document.querySelectorAll('button')].find((e) => e.textContent === 'Avanti');
        const r = b.getBoundingClientRect();
        return { x: r.right / innerWidth, y: r.bottom / innerHeight, w: innerWidth };
    });
    const at = await place();
    const STEPS = [() => s.tab.resize(1024, 600)];
    // The browser's zoom at 150 %: fewer, larger CSS pixels in the same window.
    if (browser.can.zoom) STEPS.push(() => s.tab.zoom(1.5, 1280, 1024));
    for (const [i, step] of STEPS.entries()) {
        const width = (await place()).w;
        await step();
        const now = await t.until(async () => {
            const p = await place();
            return p.w !== width && Math.abs(p.x - at.x) < 0.01 && Math.abs(p.y - at.y) < 0.02 && p;
        }, `the keypad laid out again (step ${i})`);
        assert.ok(now.x <= 1 && now.y <= 1);
        await t.play(s, t.WAYS.keys, { wrong: false, rays: 1 });
    }
    await t.play(s, t.WAYS.keys, { wrong: false, rays: 8 - 3 - STEPS.length });
    await t.celebrating(s);
}, 16));

// A key goes down and the page loses the focus before it comes up: the release is taken as
// made, so the next press of that key acts; while it is held, it never acts twice.
test('a key held while the page loses the focus', { skip }, () => t.withPage(browser, {}, async (s) => {
    const ray = await t.current(s);
    await s.tab.key('down', 'Digit5');
    await t.cellReads(s, ray, '5');
    if (browser.can.repeat) {
        await s.tab.key('down', 'Digit5', { repeat: true });
        await s.tab.key('down', 'Digit5', { repeat: true }); // still held: no key-up came between
    }
    await s.tab.away();
    await t.waitFor(s, () => !document.hasFocus() || document.hidden, 'the page to lose the focus');
    await s.tab.back();
    await t.waitFor(s, () => document.hasFocus(), 'the page to have the focus again');
    assert.strictEqual((await t.rays(s)).find((r) => r.k === ray.k).answer, '5');
    await s.tab.key('down', 'Digit5'); // its release was never heard
    await t.cellReads(s, ray, '55');
}, 18));

// A further mouse button going down while one is held is a press of its own on the held button.
test('mouse buttons pressed together', { skip }, () => t.withPage(browser, {}, async (s) => {
    const ray = await t.current(s);
    const [x, y] = await t.centre(s, '1');
    await s.tab.mouse('down', x, y, 'left');
    await t.cellReads(s, ray, '1');
    await s.tab.mouse('down', x, y, 'right');
    await t.cellReads(s, ray, '11');
}, 16));
