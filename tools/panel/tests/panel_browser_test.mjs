// The panel in Debian's chromium, headless, driven over the DevTools protocol:
// it opens the page against tqr-sim, switches the output on from the keyboard,
// sets 5 V and 1 A (a 10 ohm load draws 0.5 A: CV), waits for the readings to
// show them, trips OVP and clears it, shows a refused value, and saves
// screenshots (panel.png, panel-phone.png) in the folder given.
import { spawn } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const out = path.resolve(process.argv[2] || '.');
const { MOTQR, TQR_SIM, CHROMIUM = '/usr/bin/chromium' } = process.env;
const children = [];
let browser = null;
let profile = null;

const guard = setTimeout(() => fail(new Error('the browser test took longer than 90 s')), 90000);

function cleanUp() {
  for (const child of children) if (child.exitCode === null) child.kill('SIGTERM');
  if (profile) rmSync(profile, { recursive: true, force: true });
}

async function fail(error) {
  console.error('FAIL:', error.message);
  if (browser) await browser.close().catch(() => {});
  cleanUp();
  process.exit(1);
}

// Starts a program and resolves with the first match of `pattern` in its output.
function start(command, args, pattern) {
  return new Promise((resolve, reject) => {
    const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'inherit'] });
    children.push(child);
    const lines = readline.createInterface({ input: child.stdout });
    lines.on('line', (line) => {
      const match = line.match(pattern);
      if (match) resolve(match);
    });
    child.on('exit', (code) => reject(new Error(`${command} ended (${code}) before it was ready`)));
  });
}

async function main() {
  const [, simPort] = await start(TQR_SIM, ['--port', '0', '--noise', '0', '--load-ohms', '10'], /^port (\d+)$/);
  const resource = `TCPIP::127.0.0.1::${simPort}::SOCKET`;
  // A stored program, so that the program card has one to show.
  const samples = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../samples');
  await new Promise((resolve, reject) => {
    const cli = spawn(MOTQR, ['--resource', resource, 'program', 'create', path.join(samples, 'charge.csv')],
                      { stdio: 'ignore' });
    cli.on('exit', (code) => (code === 0 ? resolve() : reject(new Error('motqr program create failed'))));
  });
  const [, url] = await start(MOTQR, ['--resource', resource, 'panel', '--port', '0'], /^motqr panel: (\S+)$/);

  mkdirSync(out, { recursive: true });
  profile = mkdtempSync(path.join(os.tmpdir(), 'motqr-panel-chromium-'));
  browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: false,  // the flag below does it, as Debian's chromium takes it
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
  });
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  // The refused value's reply is a 422, which chromium logs; nothing else may be.
  page.on('console', (m) => {
    if (m.type() === 'error' && !m.text().includes('status of 422')) problems.push('console: ' + m.text());
  });
  await page.setViewport({ width: 1360, height: 940 });
  await page.goto(url, { waitUntil: 'domcontentloaded' });

  const text = (selector) => page.$eval(selector, (el) => el.textContent);
  const until = (what, fn, ...args) =>
    page.waitForFunction(fn, { timeout: 15000 }, ...args).catch(async () => {
      throw new Error(`${what}: not seen within 15 s (voltage ${await text('#volts')}, ` +
                      `current ${await text('#amps')}, state ${await text('#state')})`);
    });
  // Types a level into its field and presses Enter, as a keyboard user would.
  const setLevel = async (id, value) => {
    await page.focus(id);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyA');
    await page.keyboard.up('Control');
    await page.keyboard.type(value);
    await page.keyboard.press('Enter');
  };
  const reading = (volts, amps, state) =>
    until(`${volts} V, ${amps} A, ${state}`, (v, a, s) =>
      document.querySelector('#volts').textContent === v &&
      document.querySelector('#amps').textContent === a &&
      document.querySelector('#state').textContent === s, volts, amps, state);
  const ovpLit = (on) =>
    until(`OVP ${on ? 'tripped' : 'clear'}`, (want) =>
      document.querySelector('#alarms li[data-name="OVP"]')?.dataset.on === String(want), on);

  await until('the first reading', () => document.querySelector('#volts').textContent !== '—');
  await until('the instrument link', () => document.querySelector('#link').dataset.up === 'true');

  await page.focus('#output');
  await page.keyboard.press('Space');
  await until('output on', () => document.querySelector('#out-lamp').dataset.on === 'true');
  await setLevel('#in-voltage', '5');
  await setLevel('#in-current', '1');
  await reading('5.000', '0.5000', 'CV');
  console.log('readings show 5 V, 0.5 A, CV');

  await setLevel('#in-ovp', '4');
  await ovpLit(true);
  await reading('0.000', '0.0000', 'OFF');
  console.log('OVP tripped at 4 V: output off');
  await setLevel('#in-ovp', '10');
  await page.click('#clear');
  await ovpLit(false);
  console.log('protection cleared');

  await page.click('#output');
  await reading('5.000', '0.5000', 'CV');
  await setLevel('#in-voltage', '1e6');
  await until('the refused value\'s message', () => {
    const form = document.querySelector('form[data-control="voltage"]');
    return !form.querySelector('.msg').hidden && form.querySelector('.msg').textContent.includes('-222') &&
           form.querySelector('input').value === '5';
  });
  console.log('a refused value shows the instrument error and the field returns to 5');
  await page.select('#span', '10');  // the last ten seconds: the whole story on the chart
  await new Promise((r) => setTimeout(r, 1500));

  await page.screenshot({ path: path.join(out, 'panel.png') });
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true });
  await page.screenshot({ path: path.join(out, 'panel-phone.png') });
  console.log('screenshots:', path.join(out, 'panel.png'), path.join(out, 'panel-phone.png'));
  if (problems.length) throw new Error(problems.join('\n'));
  await browser.close();
  browser = null;
}

main().then(() => {
  clearTimeout(guard);
  cleanUp();
  console.log('1 passed, 0 failed');
}, fail);
