// Figures of motqr panel against tqr-sim, in Debian's chromium (headless):
//  1. reading-to-page latency at 5 readings a second: from the moment the
//     panel has the measurement (its "time" field) to the page's handler;
//  2. the panel process's CPU while idle with one tab open (/proc/<pid>/stat
//     over 30 s, as a share of one core);
//  3. ten tabs at once, in one browser (sharing one stream) and in ten
//     separate browser contexts (ten streams): readings per second in every
//     tab, latency, and the panel's CPU meanwhile.
//   MOTQR=build/tools/motqr TQR_SIM=build/sim/tqr-sim node tools/panel/bench/panel_bench.mjs
// It needs tools/panel/tests/node_modules (scripts/setup.sh installs it).
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';

const here = path.dirname(new URL(import.meta.url).pathname);
const require = createRequire(path.join(here, '../tests/package.json'));
const puppeteer = require('puppeteer-core');
const { MOTQR, TQR_SIM, CHROMIUM = '/usr/bin/chromium' } = process.env;
const IDLE_SECONDS = Number(process.env.IDLE_SECONDS || 30);
const children = [];

function start(command, args, pattern) {
  return new Promise((resolve, reject) => {
    const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'ignore'] });
    children.push(child);
    readline.createInterface({ input: child.stdout }).on('line', (line) => {
      const match = line.match(pattern);
      if (match) resolve([child, match]);
    });
    child.on('exit', (code) => reject(new Error(`${command} ended (${code})`)));
  });
}

const ticksPerSecond = 100;  // USER_HZ on Linux
function cpuTicks(pid) {
  const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
  const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
  return Number(fields[11]) + Number(fields[12]);  // utime + stime
}
async function cpuPercent(pid, seconds) {
  const t0 = cpuTicks(pid), w0 = Date.now();
  await sleep(seconds * 1000);
  return ((cpuTicks(pid) - t0) / ticksPerSecond) / ((Date.now() - w0) / 1000) * 100;
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const quantile = (xs, q) => { const s = [...xs].sort((a, b) => a - b); return s[Math.min(s.length - 1, Math.floor(q * s.length))]; };
const summary = (xs) => `median ${quantile(xs, 0.5)} ms, p95 ${quantile(xs, 0.95)} ms, max ${Math.max(...xs)} ms (${xs.length} readings)`;

// Records, in the page, every reading's latency and arrival.
async function watch(page, url) {
  await page.evaluateOnNewDocument(() => {
    window.__latency = [];
    window.addEventListener('motqr-reading', (e) => window.__latency.push(Date.now() - e.detail.time));
  });
  await page.goto(url, { waitUntil: 'domcontentloaded' });
  await page.waitForFunction(() => window.__latency.length > 0, { timeout: 15000 });
}
const collect = (page) => page.evaluate(() => window.__latency.splice(0));

async function main() {
  const [, [, port]] = await start(TQR_SIM, ['--port', '0', '--load-ohms', '10'], /^port (\d+)$/);
  const resource = `TCPIP::127.0.0.1::${port}::SOCKET`;
  const [panel, [, url]] = await start(MOTQR, ['--resource', resource, 'panel', '--port', '0', '--rate', '5'],
                                        /^motqr panel: (\S+)$/);
  const profile = mkdtempSync(path.join(os.tmpdir(), 'motqr-panel-bench-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM, headless: false, userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
           '--disable-backgrounding-occluded-windows', `--user-data-dir=${profile}`],
  });
  try {
    console.log(`machine: ${os.cpus().length} cores, load average ${os.loadavg().map((x) => x.toFixed(1)).join(' ')}`);
    const page = await browser.newPage();
    await watch(page, url);
    await sleep(1000);
    await collect(page);
    await sleep(20000);
    const one = await collect(page);
    console.log(`1 tab, 5 readings/s: ${(one.length / 20).toFixed(1)} readings/s; reading-to-page ${summary(one)}`);

    const idle = await cpuPercent(panel.pid, IDLE_SECONDS);
    console.log(`idle with 1 tab open, ${IDLE_SECONDS} s: panel CPU ${idle.toFixed(2)} % of one core`);

    for (const mode of ['one browser (tabs share a stream)', 'ten browser contexts (ten streams)']) {
      const pages = [page];
      const contexts = [];
      for (let k = 1; k < 10; ++k) {
        let context = browser.defaultBrowserContext();
        if (mode.startsWith('ten')) contexts.push(context = await browser.createBrowserContext());
        const p = await context.newPage();
        await watch(p, url);
        pages.push(p);
      }
      await sleep(1000);
      for (const p of pages) await collect(p);
      const busy = cpuPercent(panel.pid, 10);
      await sleep(10000);
      const per = await Promise.all(pages.map(collect));
      const streams = (await (await fetch(new URL('api/state', url))).json()).streams;
      const rates = per.map((xs) => xs.length / 10);
      console.log(`10 tabs, ${mode}: ${streams} event stream(s) open; ` +
                  `readings/s per tab min ${Math.min(...rates)} max ${Math.max(...rates)}; ` +
                  `reading-to-page ${summary(per.flat())}; panel CPU ${(await busy).toFixed(2)} %`);
      for (const p of pages.slice(1)) await p.close();
      for (const c of contexts) await c.close();
    }
  } finally {
    await browser.close();
    for (const child of children) child.kill('SIGTERM');
    rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((e) => {
  console.error('bench failed:', e.message);
  for (const child of children) child.kill('SIGTERM');
  process.exit(1);
});
