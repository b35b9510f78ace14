// What every engine shows and tells, screen by screen: at 1280 x 1024 the boxes of Chromium's
// within 1 px, every caption in the page's own font, and in the engine's own accessibility tree
// every program button as one element with its name.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;
const numbers = Array.from({ length: 11 }, (_, i) => `button:${10 + i}`);
const keypad = [...Array.from({ length: 10 }, (_, i) => `button:${i}`), 'button:Cancella',
    'button:Avanti', 'button:Nuovo tarvo', 'button:Esco'];

// The screens in turn, each with the buttons and menu entries a reader must find on it.
const STATES = [
    ['start', (s) => t.curtainsOpen(s), [...numbers, 'button:Vai', 'button:Ripristina', 'button:Esci',
        'menuitem:Autore']],
    ['author', (s) => t.openModal(s, 'Autore'), ['button:Chiudi']],
    ['game', async (s) => {
        await t.closeModal(s);
        await t.WAYS.keys.choose(s, 15);
        await t.titled(s, 'Form1');
        await t.until(() => t.current(s), 'the first ray');
    }, [...keypad, 'menuitem:Istruzioni']],
    ['instructions', (s) => t.openModal(s, 'Istruzioni'), ['button:Chiudi']],
];

// Every control's box, menu entries and modal title bars included, in page order. A menu entry's
// width is its caption's, which WebKitGTK lays out in whole pixels a glyph (hinted advances): its
// width counts without the caption's own.
const boxes = (s) => s.tab.eval(() => [...document.querySelectorAll(
    '.tarvo-c, [role=menuitem], .tarvo-titlebar, dialog')].map((el) => {
    const r = el.getBoundingClientRect();
    let text = 0;
    if (el.matches('[role=menuitem]')) {
        const range = document.createRange();
        range.selectNodeContents(el);
        text = range.getBoundingClientRect().width;
    }
    return { what: `${el.className || el.tagName} "${el.textContent.slice(0, 12)}"`,
        r: [r.x, r.y, r.width - text, r.height] };
}));

// The captions cut by their own box.
const cut = (s) => s.tab.eval(() => [...document.querySelectorAll('.tarvo-c')]
    .filter((el) => el.textContent.trim() && el.getClientRects().length &&
        (el.scrollWidth > el.clientWidth + 1 || el.scrollHeight > el.clientHeight + 1))
    .map((el) => `"${el.textContent.trim()}" ${el.scrollWidth}x${el.scrollHeight} in ${el.clientWidth}x${el.clientHeight}`));

// The captions not drawn in the page's own faces: a caption whose width is the same whatever
// font follows "Tarvo Sans" in the list has every glyph from those faces.
const unembedded = (s) => s.tab.eval(() => {
    const faces = [...document.fonts].filter((f) => f.family.replace(/"/g, '') === 'Tarvo Sans');
    const bad = faces.length === 2 && faces.every((f) => f.status === 'loaded') ? [] :
        [`faces: ${faces.map((f) => `${f.weight} ${f.status}`)}`];
    const ctx = document.createElement('canvas').getContext('2d');
    const width = (font, text) => ((ctx.font = font), ctx.measureText(text).width);
    for (const el of document.querySelectorAll('body *')) {
        const text = [...el.childNodes].filter((n) => n.nodeType === 3).map((n) => n.textContent).join('').trim();
        if (!text || !el.getClientRects().length) continue;
        const cs = getComputedStyle(el);
        const font = `${cs.fontWeight} ${cs.fontSize} "Tarvo Sans"`;
        if (!/^"?Tarvo Sans"?,/.test(cs.fontFamily)) bad.push(`${text}: ${cs.fontFamily}`);
        else if (width(`${font}, monospace`, text) !== width(`${font}, serif`, text)) bad.push(`${text}: a glyph missing`);
    }
    return bad;
});

const named = (list) => list.map((n) => `${n.role}:${n.name}`).sort();

// Walks the screens; at each, what `look(state, s)` sees.
async function walk(browser, look) {
    const seen = {};
    await t.withPage(browser, { width: 1280, height: 1024 }, async (s) => {
        for (const [state, reach] of STATES) {
            await reach(s);
            seen[state] = await look(state, s);
        }
    });
    return seen;
}

let browser;
test.before(async () => {
    if (!skip) browser = await t.launch();
});
test.after(() => browser && browser.close());

test('the page\'s fonts, whole captions and the same reading on every screen', { skip }, async () => {
    const seen = await walk(browser, async (state, s) => {
        const read = named((await t.tree(s)).filter((n) => /^(button|menuitem)$/.test(n.role)));
        for (const want of STATES.find((x) => x[0] === state)[2])
            assert.ok(read.includes(want), `${state}: a reader finds no ${want} in ${read}`);
        return { fonts: await unembedded(s), cut: await cut(s), read, engine: named(await s.tab.buttons()) };
    });
    for (const [state, { fonts, cut, read, engine }] of Object.entries(seen)) {
        assert.deepStrictEqual(fonts, [], `${state}: captions in another font`);
        assert.deepStrictEqual(cut, [], `${state}: captions cut`);
        assert.deepStrictEqual(engine, read, `${state}: ${browser.name}'s accessibility tree`);
    }
});

test("Chromium's boxes within 1 px", { skip: skip || (t.ENGINE === 'chromium' && 'this is Chromium') }, async () => {
    const chromium = await t.launch('chromium');
    let theirs;
    try {
        theirs = await walk(chromium, (state, s) => boxes(s));
    } finally {
        await chromium.close();
    }
    const mine = await walk(browser, (state, s) => boxes(s));
    for (const [state, list] of Object.entries(theirs)) {
        assert.strictEqual(mine[state].length, list.length, `${state}: the number of elements`);
        const off = list.map((b, i) => [b, mine[state][i]])
            .filter(([a, b]) => a.r.some((v, k) => Math.abs(v - b.r[k]) > 1))
            .map(([a, b]) => `${a.what}: ${a.r.map((v) => v.toFixed(1))} in Chromium, ${b.r.map((v) => v.toFixed(1))} here`);
        assert.deepStrictEqual(off, [], `${state}: boxes not where Chromium has them`);
    }
});
