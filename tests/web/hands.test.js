// What a pupil's hand or a school's browser does that the polite plays do not: the mouse's side
// buttons, chords and presses off the buttons, a release lost to another window, SPACE with a
// modifier, leaving the page and coming back, and a browser that cannot run the program.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;

let browser;
test.before(async () => {
    if (!skip) browser = await t.launch();
});
test.after(() => browser && browser.close());

// The one program button with the page's focus, which is also the one highlighted; null if none.
const highlighted = (s) => s.tab.eval(() => {
    const marked = [...document.querySelectorAll('.tarvo-active .tarvo-focus')];
    const a = document.activeElement;
    return marked.length === 1 && marked[0] === a ? a.textContent : null;
});

const answer = async (s, k) => (await t.rays(s)).find((r) => r.k === k).answer;

test('side buttons, chords and presses off the buttons keep the page and the highlight', { skip },
    () => t.withPage(browser, {}, async (s) => {
        const ray = await t.current(s);
        // A history to go back and forward in, within the page itself.
        await s.tab.eval(() => {
            history.pushState({}, '', '#a');
            history.pushState({}, '', '#b');
            return new Promise((r) => addEventListener('popstate', r, { once: true }) || history.back());
        });
        const [x, y] = await t.centre(s, '3');
        for (const button of ['back', 'forward']) {
            await s.tab.mouse('down', x, y, button);
            await s.tab.mouse('up', x, y, button);
        }
        const [mx, my] = await t.centre(s, 'Istruzioni', { role: 'menuitem' });
        const PRESSES = [['middle', 'left', 5, 300], ['right', null, mx, my], ['middle', null, mx, my]];
        for (const [first, then, px, py] of PRESSES) {
            await s.tab.mouse('down', px, py, first);
            if (then) await s.tab.mouse('down', px, py, then);
            if (then) await s.tab.mouse('up', px, py, then);
            await s.tab.mouse('up', px, py, first);
            assert.ok(await highlighted(s), `no button highlighted after ${first}${then ? `+${then}` : ''}`);
        }
        assert.strictEqual(await s.tab.eval(() => location.hash), '#a', 'the page went back or forward');
        assert.strictEqual(await answer(s, ray.k), '?');
        await s.tab.away();
        await s.tab.back();
        await t.until(() => highlighted(s), 'the highlight back on a button');
    }, 15));

test('a release lost to another window does not swallow the next press', { skip }, async (tt) => {
    if (!browser.can.lost) return tt.skip(`${browser.name}'s driver cannot lose a release`);
    await t.withPage(browser, {}, async (s) => {
        const ray = await t.current(s);
        const [x, y] = await t.centre(s, '4');
        await s.tab.mouse('down', x, y);
        await t.cellReads(s, ray, '4');
        await s.tab.away();
        await s.tab.back();
        await s.tab.lost(x, y);
        await t.cellReads(s, ray, '44');
    }, 15);
});

// SPACE moves the highlight whatever modifier is held with it, and never presses the button.
for (const modifier of ['ControlLeft', 'AltLeft', 'MetaLeft'])
    test(`SPACE with ${modifier.replace('Left', '')} is SPACE`, { skip }, () => t.withPage(browser, {}, async (s) => {
        const ray = await t.current(s);
        const before = await highlighted(s);
        await s.tab.key('down', modifier);
        await t.press(s, 'Space');
        await s.tab.key('up', modifier);
        await t.until(async () => (await highlighted(s)) !== before, 'the highlight to move');
        assert.strictEqual(await answer(s, ray.k), '?');
    }, 15));

// Leaving the page and coming back (from the browser's back-forward cache or afresh) finds the
// program alive: where it was, or at its start.
test('away from the page and back', { skip }, () => t.withPage(browser, {}, async (s) => {
    const ray = await t.current(s);
    await s.tab.eval(() => void setTimeout(() => (location.href = 'about:blank'))); // after the answer
    await t.waitFor(s, () => location.href === 'about:blank', 'the other page');
    await s.tab.eval(() => void setTimeout(() => history.back()));
    await t.waitFor(s, () => !!document.querySelector('.tarvo-window'), 'the program again');
    await t.reader(s);
    if (await s.tab.eval(() => document.title === 'Form1')) {
        await t.press(s, 'Digit7');
        await t.cellReads(s, ray, '7');
    } else {
        await t.curtainsOpen(s);
        await t.WAYS.keys.choose(s, 12);
        await t.titled(s, 'Form1');
    }
}, 15));

// A browser that will not run the program says so, in Italian, with what a teacher can do.
const cannot = (s) => s.tab.eval(() => {
    const page = document.getElementById('tarvo-cannot');
    return page && !page.hidden && page.getClientRects().length > 0 && !document.querySelector('button') &&
        page.innerText;
});
const strict = path.join(os.tmpdir(), `tarvo-strict-${process.pid}.html`);
test.after(() => fs.rmSync(strict, { force: true }));
const LOCKED = [
    ['without WebAssembly', { init: () => delete window.WebAssembly }],
    ['under a policy that forbids compiling it', { page: (text) => text.replace(/ 'unsafe-eval' 'wasm-unsafe-eval'/, '') }],
];
for (const [how, { init, page }] of LOCKED)
    test(`a browser ${how} says so`, { skip }, async () => {
        let url = t.URL;
        if (page) {
            fs.writeFileSync(strict, page(fs.readFileSync(t.PAGE, 'utf8')));
            url = pathToFileURL(strict).href;
        }
        const tab = await browser.open(url, { width: 1280, height: 1024, init: init ? [init] : [] });
        try {
            const words = await t.until(() => cannot({ tab }), 'the page to say the program cannot start');
            assert.match(words, /Tarvo non può partire/);
            assert.match(words, /altro browser/);
            assert.deepStrictEqual(tab.requests.filter((u) => u !== tab.url && !/^(data|blob):/.test(u)), []);
        } finally {
            await tab.close();
        }
    });
