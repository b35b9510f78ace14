// A whole tarvo in each of the ways, from the start screen to the end of the program.
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
    ['pen', 11],
    ['keys', 18, 'its code compiled in the background'], // as browsers that keep it off the page's thread
];

async function whole(s, way, n) {
    assert.strictEqual(await t.title(s), 'Tavole della moltiplicazione');
    await t.curtainsOpen(s);
    await t.WAYS[way].choose(s, n);
    await t.titled(s, 'Form1');
    const first = await t.until(() => t.current(s), 'the first ray');
    assert.strictEqual(first.n, n);
    assert.strictEqual((await t.rays(s)).length, 8);
    await t.play(s, t.WAYS[way]);
    await t.celebrating(s);
    await t.afterTick(s, 400);
    await t.WAYS[way].press(s, 'Esco');
    await t.ended(s);
    // Nothing of the program goes on once it has ended, and it never used the network.
    const left = await s.tab.eval(() => window.__probe.left());
    assert.deepStrictEqual(left, { timers: 0, frames: 0, listeners: [] });
    assert.deepStrictEqual(t.elsewhere(s), []);
    assert.deepStrictEqual(await s.tab.errors(), []);
}

test('a whole tarvo', { skip }, async (tt) => {
    const browser = await t.launch();
    tt.after(() => browser.close());
    for (const [way, n, background] of ROWS) {
        const cannot = way in browser.can && !browser.can[way] && `${browser.name}'s driver sends no ${way}`;
        const name = `by ${way}, N = ${n}${background ? `, ${background}` : ''}`;
        await tt.test(name, { skip: cannot }, () =>
            t.withPage(browser, { touch: way === 'touch', background }, (s) => whole(s, way, n)));
    }
});
