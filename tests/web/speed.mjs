// The browser's side of the speed table: the time from navigation to the first intro frame on
// the canvas (a first visit, best and median of five), and a game-frame paint in the browser
// (the best of three).
// node speed.mjs SITE PAINT_FOLDER (PAINT_FOLDER holds bench_paint.js, .wasm and .data)
import fs from 'node:fs';
import path from 'node:path';

import {launchBrowser, serve} from './page.mjs';

const [site, paintFolder] = process.argv.slice(2);
const browser = await launchBrowser();
const servers = [];
try {
    const game = await serve(site);
    servers.push(game);
    const times = [];
    for (let run = 0; run < 5; ++run) {
        const context = await browser.newContext({viewport: {width: 600, height: 700}});
        // The first canvas update whose intro title band is no longer black.
        await context.addInitScript(() => {
            const put = CanvasRenderingContext2D.prototype.putImageData;
            CanvasRenderingContext2D.prototype.putImageData = function(image, ...rest) {
                put.call(this, image, ...rest);
                if (window.velquinFirstIntro) return;
                const d = image.data;
                for (let i = 240 * 60 * 4; i < 240 * 100 * 4; i += 4) {
                    if (d[i] || d[i + 1] || d[i + 2]) {
                        window.velquinFirstIntro = performance.now();
                        return;
                    }
                }
            };
        });
        const page = await context.newPage();
        await page.goto(game.url);
        times.push(await (await page.waitForFunction(() => window.velquinFirstIntro)).jsonValue());
        await context.close();
    }
    times.sort((a, b) => a - b);
    console.log(`first-intro-frame-ms ${times[0].toFixed(0)} ${times[2].toFixed(0)}`);

    fs.writeFileSync(path.join(paintFolder, 'index.html'),
                     '<!DOCTYPE html><script>var Module = {print: (t) => console.log(t)};</script>' +
                     '<script src="bench_paint.js"></script>\n');
    const paint = await serve(paintFolder);
    servers.push(paint);
    // The best of three page loads, as the native figure is the best of three runs.
    let best = Infinity;
    for (let run = 0; run < 3; ++run) {
        const page = await browser.newPage();
        const line = new Promise((resolve) => page.on('console', (m) => {
            if (m.text().startsWith('game frame')) resolve(m.text());
        }));
        await page.goto(paint.url);
        best = Math.min(best, parseFloat((await line).split(' ')[2]));
        await page.close();
    }
    console.log(`browser-game frame ${best.toFixed(1)} us`);
} finally {
    await browser.close();
    for (const s of servers) s.stop();
}
