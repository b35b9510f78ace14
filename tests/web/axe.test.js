// axe-core's WCAG 2.2 A and AA rules, target size included, on every screen and state of the
// program, at a desktop and at a tablet viewport.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;
const AXE = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];
const CLOSE = /^C ?h ?i ?u ?d ?i$/;

// The violations axe finds on the page as it stands, one line each.
async function audit(page, state) {
    await page.evaluate(AXE); // through the debugger: the page's own policy forbids scripts
    const options = { runOnly: { type: 'tag', values: TAGS }, rules: { 'target-size': { enabled: true } } };
    const found = await page.evaluate((o) => window.axe.run(document, o).then((r) =>
        r.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)), options);
    return found.map((v) => `${state}: ${v}`);
}

async function modal(page, menu) {
    await page.getByRole('menuitem', { name: menu }).click();
    await page.getByRole('dialog').waitFor();
}

async function unmodal(page) {
    await page.getByRole('dialog').getByRole('button', { name: CLOSE }).click();
    await page.getByRole('dialog').waitFor({ state: 'hidden' });
}

for (const [width, height] of [[1280, 1024], [1024, 600]]) {
    test(`no WCAG 2.2 A or AA violation at ${width}x${height}`, { skip }, async () => {
        const browser = await t.launch();
        try {
            const s = await t.open(browser, { width, height });
            const { page } = s;
            const found = [];
            await t.curtainsOpen(page);
            found.push(...(await audit(page, 'start')));
            await modal(page, 'Autore');
            found.push(...(await audit(page, 'author')));
            await unmodal(page);
            await t.WAYS.keys.choose(s, 14);
            await page.waitForFunction(() => document.title === 'Form1');
            await t.until(page, () => t.current(s.cdp), 'the first ray');
            found.push(...(await audit(page, 'game')));
            await modal(page, 'Istruzioni');
            found.push(...(await audit(page, 'instructions')));
            await unmodal(page);
            await t.play(s, t.WAYS.keys, { correct: false });
            found.push(...(await audit(page, 'checked')));
            const wrong = await t.current(s.cdp);
            for (const d of String(wrong.n - wrong.k)) await t.WAYS.keys.press(s, d);
            await t.WAYS.keys.press(s, 'Avanti');
            await t.celebrating(s);
            found.push(...(await audit(page, 'celebration')));
            await t.afterTick(page, 400);
            await t.WAYS.keys.press(s, 'Esco');
            await t.ended(s);
            found.push(...(await audit(page, 'end')));
            assert.deepStrictEqual(found, []);
        } finally {
            await browser.close();
        }
    });
}
