// What the browser test and the speed table share: the page served by Python's http.server,
// Debian's Chromium driven by Playwright, the canvas read back, and PNG files read.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import zlib from 'node:zlib';
import {chromium} from 'playwright-core';

export const chromiumFlags = ['--headless', '--no-sandbox', '--disable-gpu',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run'];

export async function launchBrowser(moreFlags = []) {
    return chromium.launch({executablePath: process.env.VELQUIN_CHROMIUM || '/usr/bin/chromium',
                            args: [...chromiumFlags, ...moreFlags], headless: true});
}

// Serves folder on a free port of 127.0.0.1; resolves to {url, stop}.
export function serve(folder) {
    return new Promise((resolve, reject) => {
        const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
                                         '--directory', folder],
                             {stdio: ['ignore', 'pipe', 'ignore']});
        let text = '';
        server.stdout.on('data', (chunk) => {
            text += chunk;
            const m = text.match(/port (\d+)/);
            if (m) resolve({url: `http://127.0.0.1:${m[1]}/`, stop: () => server.kill()});
        });
        server.on('exit', (code) => reject(new Error(`http.server ended (${code})`)));
    });
}

// The canvas's 240 x 320 pixels as RGB bytes.
export async function canvasPixels(page) {
    const base64 = await page.evaluate(() => {
        const c = document.getElementById('screen');
        const rgba = c.getContext('2d').getImageData(0, 0, 240, 320).data;
        let s = '';
        for (let i = 0; i < rgba.length; i += 4)
            s += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
        return btoa(s);
    });
    return Buffer.from(base64, 'base64');
}

// An 8-bit RGB or RGBA PNG file (not interlaced) as {width, height, rgb}.
export function readPng(path) {
    const file = fs.readFileSync(path);
    let pos = 8, width = 0, height = 0, type = 0;
    const idat = [];
    while (pos < file.length) {
        const length = file.readUInt32BE(pos);
        const kind = file.toString('latin1', pos + 4, pos + 8);
        const data = file.subarray(pos + 8, pos + 8 + length);
        if (kind === 'IHDR') {
            width = data.readUInt32BE(0);
            height = data.readUInt32BE(4);
            type = data[9];
            if (data[8] !== 8 || (type !== 2 && type !== 6) || data[12] !== 0)
                throw new Error(`${path}: not an 8-bit RGB picture`);
        } else if (kind === 'IDAT') {
            idat.push(data);
        }
        pos += 12 + length;
    }
    const channels = type === 6 ? 4 : 3, stride = width * channels;
    const raw = zlib.inflateSync(Buffer.concat(idat));
    const out = Buffer.alloc(stride * height);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let i = 0; i < stride; ++i) {
            const a = i >= channels ? out[y * stride + i - channels] : 0;
            const b = y > 0 ? out[(y - 1) * stride + i] : 0;
            const c = i >= channels && y > 0 ? out[(y - 1) * stride + i - channels] : 0;
            let v = line[i];
            if (filter === 1) v += a;
            else if (filter === 2) v += b;
            else if (filter === 3) v += (a + b) >> 1;
            else if (filter === 4) {
                const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b),
                      pc = Math.abs(p - c);
                v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            out[y * stride + i] = v & 0xFF;
        }
    }
    const rgb = Buffer.alloc(width * height * 3);
    for (let i = 0; i < width * height; ++i) out.copy(rgb, i * 3, i * channels, i * channels + 3);
    return {width, height, rgb};
}

// Pixels that differ outside the rectangles of masks ([left, top, right, bottom], right and
// bottom exclusive), as a count and the first few.
export function compareScreens(a, b, masks = []) {
    let count = 0;
    const first = [];
    for (let y = 0; y < 320; ++y) {
        for (let x = 0; x < 240; ++x) {
            if (masks.some(([l, t, r, bt]) => x >= l && x < r && y >= t && y < bt)) continue;
            const i = (y * 240 + x) * 3;
            if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) {
                if (++count <= 5) first.push(`(${x}, ${y})`);
            }
        }
    }
    return {count, first};
}
