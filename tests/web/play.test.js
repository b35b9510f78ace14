// A whole tarvo in each of the four ways, from the start screen to the end of the program.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const t = require('./support');

const skip = !t.present() && `no ${t.PAGE}: build it with scripts/web`;

// Centre numbers above 10, so that no right answer reads "?" and the waiting ray is plain.
const ROWS = [
    ['keys', 15],
    ['scanning', 12],
    ['mouse', 17],
    ['touch', 20],
    ['keys', 18, 'its code compiled in the background'], // as browsers that keep it off the page's thread
];

test('a whole tarvo', { skip }, async (tt) => {
    const browser = await t.launch();
    tt.after(() => browser.close());
    for (const [way, n, background] of ROWS) {
        await tt.test(`by ${way}, N = ${n}${background ? `, ${background}` : ''}`, async () => {
            const s = await t.open(browser, { touch: way === 'touch', background });
            const { page } = s;
            assert.strictEqual(await page.title(), 'Tavole della moltiplicazione');
            await t.curtainsOpen(page);
            await t.WAYS[way].choose(s, n);
            await page.waitForFunction(() => document.title === 'Form1');
            const first = await t.until(page, () => t.current(s.cdp), 'the first ray');
            assert.strictEqual(first.n, n);
            assert.strictEqual((await t.rays(s.cdp)).length, 8);
            await t.play(s, t.WAYS[way]);
            await t.celebrating(s);
            await t.afterTick(page, 400);
            await t.WAYS[way].press(s, 'Esco');
            await t.ended(s);
            // Nothing of the program goes on once it has ended, and it never used the network.
            const left = await page.evaluate(() => window.__probe.left());
            assert.deepStrictEqual(left, { timers: 0, frames: 0, listeners: [] });
            const elsewhere = s.requests.filter((u) => u !== t.URL && !/^(data|blob):/.test(u));
            assert.deepStrictEqual(elsewhere, []);
            assert.deepStrictEqual(s.errors, []);
            await s.context.close();
        });
    }
});
