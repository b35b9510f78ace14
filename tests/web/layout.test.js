// Every screen of the classroom's devices, either way round: no caption cut, the buttons in the
// order they have on a desktop's screen without lying over each other, the tarvo's numbers inside
// its ring, the windows across the viewport (fitted in where it is narrower or smaller than a
// desktop's), and a turn of the tablet a resize like any other, curtains included.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;
const VIEWPORTS = [[1280, 1024], [1920, 1080], [3840, 2160], [1366, 768], [1280, 800], [800, 1280],
    [1024, 768], [768, 1024], [360, 640]];

// What is wrong with the screen as it stands: captions cut by their box, shown buttons lying
// over each other, windows not filling the viewport or falling outside it; and the shown
// buttons' centres, for their order.
const look = (s) => s.tab.eval(() => {
    const wrong = [];
    for (const el of document.querySelectorAll('.tarvo-c, [role=menuitem]'))
        if (el.textContent.trim() && el.getClientRects().length &&
            (el.scrollWidth > el.clientWidth + 1 || el.scrollHeight > el.clientHeight + 1))
            wrong.push(`"${el.textContent.trim()}" cut: ${el.scrollWidth}x${el.scrollHeight} in ${el.clientWidth}x${el.clientHeight}`);
    // Under a modal screen the window beneath is covered, as it is meant to be.
    const front = document.querySelector('dialog[open]') || document;
    const shown = [...front.querySelectorAll('.tarvo-window:not([hidden]) button:not([role]), dialog button')]
        .filter((b) => b.getClientRects().length && !b.closest('[hidden]'));
    const boxes = shown.map((b) => [b.textContent, b.getBoundingClientRect()]);
    for (const [i, [a, r]] of boxes.entries())
        for (const [b, q] of boxes.slice(i + 1))
            if (Math.min(r.right, q.right) - Math.max(r.left, q.left) > 0.5 &&
                Math.min(r.bottom, q.bottom) - Math.max(r.top, q.top) > 0.5) wrong.push(`"${a}" over "${b}"`);
    // A window fills the viewport across, centred down it.
    for (const w of document.querySelectorAll('.tarvo-window:not([hidden])')) {
        const r = w.getBoundingClientRect();
        const fills = Math.abs(r.left) <= 1 && Math.abs(r.right - innerWidth) <= 1 && r.top >= -1 &&
            Math.abs(r.top - (innerHeight - r.bottom)) <= 1;
        const inside = r.left >= -1 && r.top >= -1 && r.right <= innerWidth + 1 && r.bottom <= innerHeight + 1;
        if (w.tagName === 'DIALOG' ? !inside : !fills)
            wrong.push(`${w.tagName} at ${[r.left, r.top, r.right, r.bottom].map(Math.round)} in ${innerWidth}x${innerHeight}`);
    }
    // The numbers on show in the tarvo (the centre and the subtrahends, no answer yet) stand
    // inside its ring, the largest circle.
    const circles = [...document.querySelectorAll('.tarvo-figure')].filter((f) => f.getClientRects().length &&
        getComputedStyle(f).borderTopLeftRadius.endsWith('%')).map((f) => f.getBoundingClientRect());
    const ring = circles.sort((a, b) => b.width - a.width)[0];
    for (const el of ring ? document.querySelectorAll('.tarvo-label') : []) {
        const r = el.getBoundingClientRect();
        const [dx, dy] = [r.x + r.width / 2 - ring.x - ring.width / 2, r.y + r.height / 2 - ring.y - ring.height / 2];
        if (/^\d+$/.test(el.textContent.trim()) && Math.hypot(dx, dy) > ring.width / 2)
            wrong.push(`"${el.textContent.trim()}" outside the ring`);
    }
    const centres = Object.fromEntries(boxes.map(([n, r]) =>
        [n, [(r.left + r.width / 2) / innerWidth, (r.top + r.height / 2) / innerHeight]]));
    return { wrong, centres };
});

// The pairs of buttons whose order across or down differs from the reference's.
function reordered(centres, reference) {
    const names = Object.keys(reference);
    const out = [];
    const sign = (d) => (Math.abs(d) < 0.002 ? 0 : Math.sign(d));
    for (const [i, a] of names.entries())
        for (const b of names.slice(i + 1))
            for (const k of [0, 1])
                if (sign(centres[a][k] - centres[b][k]) !== sign(reference[a][k] - reference[b][k]))
                    out.push(`"${a}" and "${b}"`);
    return out;
}

let browser;
test.before(async () => {
    if (!skip) browser = await t.launch();
});
test.after(() => browser && browser.close());

// Start, game and instructions screens at one viewport: what is wrong, and the buttons' centres.
async function screens(width, height) {
    const seen = {};
    await t.withPage(browser, { width, height }, async (s) => {
        await t.curtainsOpen(s); // also: no button lies under anything
        seen.start = await look(s);
        await t.WAYS.keys.choose(s, 15);
        await t.titled(s, 'Form1');
        await t.until(() => t.current(s), 'the first ray');
        seen.game = await look(s);
        await t.openModal(s, 'Istruzioni');
        seen.instructions = await look(s);
    });
    return seen;
}

test('every viewport of the classroom', { skip }, async (tt) => {
    const reference = await screens(1280, 1024);
    for (const [width, height] of VIEWPORTS) {
        await tt.test(`${width}x${height}`, async () => {
            const seen = width === 1280 && height === 1024 ? reference : await screens(width, height);
            for (const [screen, { wrong, centres }] of Object.entries(seen)) {
                assert.deepStrictEqual(wrong, [], screen);
                assert.deepStrictEqual(reordered(centres, reference[screen].centres), [], `${screen}: order`);
            }
        });
    }
});

// A tablet turned from upright to flat on the start screen: the windows fill the new viewport,
// the curtains close and open again.
test('a tablet turned round', { skip }, () => t.withPage(browser, { width: 768, height: 1024 }, async (s) => {
    await t.curtainsOpen(s);
    const runs = await s.tab.eval(() => window.__probe.intervals);
    await s.tab.resize(1024, 768);
    await t.waitFor(s, (n) => window.__probe.intervals > n, 'the curtains to run again', runs);
    await t.curtainsOpen(s);
    assert.deepStrictEqual((await look(s)).wrong, []);
}));
