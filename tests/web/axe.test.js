// axe-core's WCAG 2.2 A and AA rules, target size included, on every screen and state of the
// program, at a desktop and at a tablet viewport.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;
const TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];

// The violations axe finds on the page as it stands, one line each. One is not: a caption spelled
// out letter by letter ("C h i u d i") named by its word, as it is said; axe's comparison of
// label and name goes word by word, and takes each letter for a word.
async function audit(s, state) {
    const options = { runOnly: { type: 'tag', values: TAGS }, rules: { 'target-size': { enabled: true } } };
    const found = await s.tab.eval((o) => window.axe.run(document, o).then((r) => r.violations.map((v) => {
        const spelled = (n) => {
            const el = document.querySelector(n.target.join(' '));
            return v.id === 'label-content-name-mismatch' && /^(\S )+\S$/.test(el.textContent) &&
                el.textContent.replace(/ /g, '') === el.getAttribute('aria-label');
        };
        const nodes = v.nodes.filter((n) => !spelled(n));
        return nodes.length ? `${v.id}: ${nodes.map((n) => n.target.join(' ')).join(', ')}` : '';
    }).filter(Boolean)), options);
    return found.map((v) => `${state}: ${v}`);
}

let browser;
test.before(async () => {
    if (!skip) browser = await t.launch();
});
test.after(() => browser && browser.close());

for (const [width, height] of [[1280, 1024], [1024, 600]]) {
    test(`no WCAG 2.2 A or AA violation at ${width}x${height}`, { skip }, () =>
        t.withPage(browser, { width, height }, async (s) => {
            const found = [];
            await t.curtainsOpen(s);
            found.push(...(await audit(s, 'start')));
            await t.openModal(s, 'Autore');
            found.push(...(await audit(s, 'author')));
            await t.closeModal(s);
            await t.WAYS.keys.choose(s, 14);
            await t.titled(s, 'Form1');
            await t.until(() => t.current(s), 'the first ray');
            found.push(...(await audit(s, 'game')));
            await t.openModal(s, 'Istruzioni');
            found.push(...(await audit(s, 'instructions')));
            await t.closeModal(s);
            await t.play(s, t.WAYS.keys, { correct: false });
            found.push(...(await audit(s, 'checked')));
            const wrong = await t.current(s);
            for (const d of String(wrong.n - wrong.k)) await t.WAYS.keys.press(s, d);
            await t.WAYS.keys.press(s, 'Avanti');
            await t.celebrating(s);
            found.push(...(await audit(s, 'celebration')));
            await t.afterTick(s, 400);
            await t.WAYS.keys.press(s, 'Esco');
            await t.ended(s);
            found.push(...(await audit(s, 'end')));
            assert.deepStrictEqual(found, []);
        }));
}
