// The soft front panel's page. It asks /api/state once, then follows the
// server's event stream (/api/events). Tabs of one browser share one stream:
// the tab holding the lock reads it and passes every event on to the others.
// Every control is a POST to /api/set/<control> or /api/action/<action>; the
// reply says what the instrument now holds, and the control shows that.
'use strict';

const $ = (id) => document.getElementById(id);
const panel = {
  controls: new Map(),  // name -> {kind, choices}
  alarms: [],
  rated: null,
  lastReading: 0,
  // The chart's history: parallel arrays, times in ms.
  t: [], v: [], i: [], p: [],
  paused: false,
  pausedAt: 0,
  dirty: true,
};
const kHistoryMs = 10 * 60 * 1000;
const kStaleMs = 2500;

// ---- Talking to the server ----

async function call(path, body) {
  const init = body === undefined ? { method: 'POST', headers: { 'Content-Type': 'application/json' }, body: '{}' }
                                  : { method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) };
  let reply;
  try {
    const res = await fetch(path, init);
    reply = await res.json();
  } catch (e) {
    reply = { ok: false, message: 'the panel server did not answer (' + e.message + ')' };
  }
  return reply;
}

function describeFailure(reply) {
  let text = reply.message || 'failed';
  for (const entry of reply.instrument_errors || []) text += '\ninstrument error ' + entry;
  return text;
}

function showMessage(el, reply) {
  if (!el) return;
  if (reply.ok) {
    el.hidden = true;
    el.textContent = '';
  } else {
    el.textContent = describeFailure(reply);
    el.hidden = false;
  }
}

// ---- Readings ----

function fixed(x, digits) {
  return typeof x === 'number' && isFinite(x) ? x.toFixed(digits) : '—';
}

function onReading(r) {
  panel.lastReading = Date.now();
  $('stale').hidden = true;
  $('volts').textContent = fixed(r.volts, 3);
  $('amps').textContent = fixed(r.amps, 4);
  $('watts').textContent = fixed(r.watts, 2);
  $('etime').textContent = fixed(r.etime, 1);
  $('capacity').textContent = fixed(r.capacity, 4);
  $('energy').textContent = fixed(r.energy, 4);
  const state = $('state');
  state.dataset.state = r.state;
  state.textContent = r.state === 'UNREG' ? '—' : r.state;
  $('out-lamp').dataset.on = String(r.output);
  $('out-lamp').textContent = r.output ? 'OUTPUT ON' : 'OUTPUT OFF';
  setOutputButton(r.output);
  for (const li of $('alarms').children) li.dataset.on = String(r.alarms.includes(li.dataset.name));
  onProgress(r.program);
  // Readings arrive in order; the history keeps the last ten minutes.
  panel.t.push(r.time); panel.v.push(r.volts); panel.i.push(r.amps); panel.p.push(r.watts);
  const cut = panel.t.findIndex((t) => t >= r.time - kHistoryMs);
  if (cut > 0) for (const a of [panel.t, panel.v, panel.i, panel.p]) a.splice(0, cut);
  panel.dirty = true;
  window.dispatchEvent(new CustomEvent('motqr-reading', { detail: r }));
}

function onProgress(p) {
  const s = panel.settings || {};
  $('pstate').dataset.state = p.state;
  $('pstate').textContent = p.state;
  $('pname').textContent = p.state === 'idle' ? '' : p.name;
  const same = p.name === s.program;
  const steps = same && s.steps ? ' of ' + s.steps : '';
  const loops = same && s.loops ? ' of ' + s.loops : '';
  $('pstep').textContent = p.state === 'idle' ? '—' : p.step + steps;
  $('ploop').textContent = p.state === 'idle' ? '—' : p.loop + loops;
  let fraction = 0;
  if (p.state !== 'idle' && same && s.steps) {
    const perLoop = (p.step - 1) / s.steps;
    fraction = s.loops ? ((p.loop - 1) + perLoop) / s.loops : perLoop;
  }
  $('pbar').style.width = Math.max(0, Math.min(1, fraction)) * 100 + '%';
}

// ---- Settings: what the controls show ----

function setOutputButton(on) {
  const b = $('output');
  b.setAttribute('aria-pressed', String(on));
  b.querySelector('b').textContent = on ? 'ON' : 'OFF';
}

function formatSetting(value) {
  if (value === null || value === undefined) return '';
  return typeof value === 'number' ? String(+value.toPrecision(6)) : String(value);
}

function showSetting(name, value) {
  if (name === 'output') {
    setOutputButton(!!value);
    return;
  }
  for (const el of document.querySelectorAll(`[data-control="${name}"]`)) {
    const field = el.tagName === 'FORM' ? el.querySelector('input') : el;
    if (field.tagName === 'SELECT') {
      if (name === 'program') fillChoices(field, panel.settings.programs || [], value);
      field.value = value ?? '';
    } else if (!(document.activeElement === field && field.dataset.edited === 'true')) {
      // A field being typed into keeps what the user typed.
      field.value = formatSetting(value);
      field.dataset.edited = 'false';
    }
  }
}

function onSettings(s) {
  panel.settings = s;
  for (const name of panel.controls.keys()) if (name in s) showSetting(name, s[name]);
}

function fillChoices(select, names, current) {
  if (select.dataset.control === 'program') $('no-programs').hidden = names.length > 0;
  const want = names.includes(current) || !current ? names : [current, ...names];
  if ([...select.options].map((o) => o.value).join('\n') === want.join('\n')) return;
  select.replaceChildren(...want.map((n) => new Option(n, n)));
}

// ---- Controls ----

async function setControl(name, value, messageEl) {
  const field = document.querySelector(`[data-control="${name}"]`);
  const input = field && (field.tagName === 'FORM' ? field.querySelector('input') : field);
  if (input) input.dataset.edited = 'false';
  const reply = await call('api/set/' + name, { value });
  showMessage(messageEl, reply);
  if (input) input.dataset.refused = String(!reply.ok);
  if ('value' in reply) {
    if (panel.settings) panel.settings[name] = reply.value;
    showSetting(name, reply.value);
  }
  return reply;
}

async function act(action, messageEl) {
  const reply = await call('api/action/' + action);
  showMessage(messageEl, reply);
  return reply;
}

function wireControls() {
  for (const form of document.querySelectorAll('form[data-control]')) {
    const input = form.querySelector('input');
    input.addEventListener('input', () => { input.dataset.edited = 'true'; });
    input.addEventListener('keydown', (e) => {
      if (e.key === 'Escape') {  // back to the instrument's value
        input.dataset.edited = 'false';
        showSetting(form.dataset.control, panel.settings?.[form.dataset.control]);
      }
    });
    form.addEventListener('submit', (e) => {
      e.preventDefault();
      const text = input.value.trim();
      const number = Number(text);
      const value = text !== '' && isFinite(number) ? number : text;
      setControl(form.dataset.control, value, form.querySelector('.msg') || $('msg-program'));
    });
  }
  for (const select of document.querySelectorAll('select[data-control]')) {
    const message = select.dataset.control === 'program' ? $('msg-program') : $('msg-choice');
    select.addEventListener('change', () => setControl(select.dataset.control, select.value, message));
  }
  $('output').addEventListener('click', () => {
    const on = $('output').getAttribute('aria-pressed') !== 'true';
    setControl('output', on, $('msg-output'));
  });
  $('clear').addEventListener('click', () => act('protection-clear', $('msg-clear')));
  for (const b of document.querySelectorAll('button[data-action]')) {
    const message = b.dataset.action === 'errors' ? null : $('msg-program');
    b.addEventListener('click', () => act(b.dataset.action, message));
  }
}

// ---- Error queue, identity, link ----

function onErrors(e) {
  const list = $('errors');
  list.replaceChildren(...e.entries.slice().reverse().map((x) => {
    const li = document.createElement('li');
    const time = document.createElement('time');
    time.textContent = new Date(x.time).toLocaleTimeString();
    const entry = document.createElement('span');
    entry.className = 'entry';
    entry.textContent = x.entry;
    const during = document.createElement('span');
    during.className = 'during';
    during.textContent = x.during;
    li.append(time, entry, during);
    return li;
  }));
  $('errors-none').hidden = e.entries.length > 0;
}

function onIdentity(id) {
  panel.rated = id.rated || null;
  $('model').textContent = id.model || 'TQR';
  $('who').textContent = [id.manufacturer, id.model, id.resource, id.simulated ? 'simulated' : ''].filter(Boolean).join(' · ');
  document.title = (id.model || 'TQR') + ' — motqr panel';
  const rows = [
    ['Manufacturer', id.manufacturer], ['Model', id.model], ['Firmware', id.firmware],
    ['Resource', id.resource], ['Driver', id.driver], ['Driver revision', id.driver_revision],
  ];
  if (id.rated) rows.push(['Rated', `${id.rated.volts} V · ${id.rated.amps} A · ${id.rated.watts} W`]);
  $('identity').replaceChildren(...rows.filter((r) => r[1]).flatMap(([k, v]) => {
    const dt = document.createElement('dt');
    dt.textContent = k;
    const dd = document.createElement('dd');
    dd.textContent = v;
    const div = document.createElement('div');
    div.append(dt, dd);
    return [div];
  }));
}

function onLink(l) {
  const el = $('link');
  el.dataset.up = String(l.connected);
  $('link-text').textContent = l.connected ? 'connected' : 'instrument lost: ' + l.message;
  el.title = l.resource || '';
}

function streamLost() {
  const el = $('link');
  el.dataset.up = 'false';
  $('link-text').textContent = 'panel server not reachable';
}

const handlers = { reading: onReading, settings: onSettings, errors: onErrors, identity: onIdentity, link: onLink };

function dispatch(kind, data) {
  const h = handlers[kind];
  if (h && data) h(data);
}

// ---- The event stream, one per browser ----

function openStream(channel) {
  const source = new EventSource('api/events');
  for (const kind of Object.keys(handlers)) {
    source.addEventListener(kind, (e) => {
      const data = JSON.parse(e.data);
      dispatch(kind, data);
      if (channel) channel.postMessage({ kind, data });
    });
  }
  source.addEventListener('error', () => {
    streamLost();
    if (channel) channel.postMessage({ kind: 'lost' });
  });
}

function followEvents() {
  const name = 'motqr-panel-' + location.host;
  if (navigator.locks && window.BroadcastChannel) {
    const channel = new BroadcastChannel(name);
    channel.onmessage = (e) => (e.data.kind === 'lost' ? streamLost() : dispatch(e.data.kind, e.data.data));
    // The lock is held for the tab's life; when that tab closes, another takes it.
    navigator.locks.request(name, () => new Promise(() => openStream(channel)));
  } else {
    openStream(null);
  }
}

// ---- The chart ----

// An axis of four equal divisions on a 1-2-2.5-5 step that holds lo..hi (and 0).
function axis(values) {
  let lo = Math.min(0, ...values), hi = Math.max(0, ...values);
  if (!isFinite(lo) || !isFinite(hi)) [lo, hi] = [0, 1];
  if (hi - lo < 1e-9) hi = lo + 1;
  const raw = (hi - lo) / 4;
  const decade = Math.pow(10, Math.floor(Math.log10(raw)));
  for (const m of [1, 2, 2.5, 5, 10, 20]) {
    const step = m * decade;
    const bottom = Math.floor(lo / step + 1e-9) * step;
    if (bottom + 4 * step >= hi - 1e-12) return { lo: bottom, hi: bottom + 4 * step, step };
  }
  return { lo, hi, step: raw };
}

function label(x, step) {
  const digits = Math.max(0, -Math.floor(Math.log10(step) + 1e-9) + (step / Math.pow(10, Math.floor(Math.log10(step))) === 2.5 ? 1 : 0));
  return x.toFixed(Math.min(digits, 6));
}

// A time step for the chart's width: at most one label every 70 pixels.
function timeStep(span, width) {
  const most = Math.max(2, Math.floor(width / 70));
  for (const s of [1, 2, 5, 10, 15, 30, 60, 120, 300, 600]) if (span / (s * 1000) <= most) return s * 1000;
  return span;
}

function ago(ms) {
  const s = Math.round(ms / 1000);
  if (s === 0) return 'now';
  if (s < 60) return '−' + s + ' s';
  return '−' + Math.floor(s / 60) + (s % 60 ? ':' + String(s % 60).padStart(2, '0') : '') + ' min';
}

function drawChart() {
  requestAnimationFrame(drawChart);
  if (!panel.dirty) return;
  panel.dirty = false;
  const canvas = $('chart');
  const dpr = window.devicePixelRatio || 1;
  const w = canvas.clientWidth, h = canvas.clientHeight;
  if (canvas.width !== Math.round(w * dpr) || canvas.height !== Math.round(h * dpr)) {
    canvas.width = Math.round(w * dpr);
    canvas.height = Math.round(h * dpr);
  }
  const g = canvas.getContext('2d');
  g.setTransform(dpr, 0, 0, dpr, 0, 0);
  g.clearRect(0, 0, w, h);
  const css = getComputedStyle(document.documentElement);
  const colors = { v: css.getPropertyValue('--volts'), i: css.getPropertyValue('--amps'), dim: css.getPropertyValue('--dim') };
  // Two bands on one time axis: voltage above, current below (on a resistive
  // load the two traces would otherwise lie on top of each other).
  const left = 56, right = 14, top = 10, bottom = 24, gap = 18;
  const pw = w - left - right, band = (h - top - bottom - gap) / 2;
  if (pw < 20 || band < 20) return;
  const span = Number($('span').value) * 1000;
  const end = panel.paused ? panel.pausedAt : (panel.t.length ? panel.t[panel.t.length - 1] : Date.now());
  const start = end - span;
  let from = panel.t.findIndex((t) => t >= start);
  if (from < 0) from = panel.t.length;
  let to = panel.t.length;
  if (panel.paused) while (to > from && panel.t[to - 1] > end) --to;
  const x = (t) => left + ((t - start) / span) * pw;
  const bands = [
    { values: panel.v, color: colors.v, unit: 'V', y0: top },
    { values: panel.i, color: colors.i, unit: 'A', y0: top + band + gap },
  ];
  g.font = '11px "DejaVu Sans Mono", monospace';
  for (const b of bands) {
    const a = axis(b.values.slice(from, to).filter(isFinite));
    const y = (v) => b.y0 + band - ((v - a.lo) / (a.hi - a.lo)) * band;
    g.lineWidth = 1;
    g.strokeStyle = '#232a34';
    g.textBaseline = 'middle';
    g.textAlign = 'right';
    g.fillStyle = b.color;
    for (let k = 0; k <= 4; ++k) {
      const gy = Math.round(b.y0 + (band * k) / 4) + 0.5;
      g.beginPath(); g.moveTo(left, gy); g.lineTo(left + pw, gy); g.stroke();
      g.fillText(label(a.hi - a.step * k, a.step), left - 6, gy);
    }
    g.save();
    g.translate(12, b.y0 + band / 2);
    g.rotate(-Math.PI / 2);
    g.textAlign = 'center';
    g.fillText(b.unit, 0, 0);
    g.restore();
    g.strokeStyle = b.color;
    g.lineWidth = 1.8;
    g.beginPath();
    let pen = false;
    for (let k = from; k < to; ++k) {
      if (!isFinite(b.values[k])) { pen = false; continue; }
      const px = x(panel.t[k]), py = y(b.values[k]);
      if (pen) g.lineTo(px, py); else g.moveTo(px, py);
      pen = true;
    }
    g.stroke();
  }
  g.strokeStyle = '#232a34';
  g.lineWidth = 1;
  g.fillStyle = colors.dim;
  g.textAlign = 'center';
  g.textBaseline = 'top';
  const step = timeStep(span, pw);
  for (let back = 0; back <= span + 1; back += step) {
    const gx = Math.round(x(end - back)) + 0.5;
    for (const b of bands) { g.beginPath(); g.moveTo(gx, b.y0); g.lineTo(gx, b.y0 + band); g.stroke(); }
    g.fillText(ago(back), Math.max(left + 14, Math.min(left + pw - 12, gx)), h - bottom + 6);
  }
  $('chart-note').textContent = panel.paused ? 'paused' : '';
}

function exportCsv() {
  const lines = ['time,seconds,voltage_V,current_A,power_W'];
  const t0 = panel.t[0] || 0;
  for (let k = 0; k < panel.t.length; ++k) {
    lines.push([new Date(panel.t[k]).toISOString(), ((panel.t[k] - t0) / 1000).toFixed(3),
                panel.v[k], panel.i[k], panel.p[k]].join(','));
  }
  const url = URL.createObjectURL(new Blob([lines.join('\n') + '\n'], { type: 'text/csv' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = 'motqr-panel-' + new Date().toISOString().replace(/[:.]/g, '-') + '.csv';
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

function wireChart() {
  $('pause').addEventListener('click', () => {
    panel.paused = !panel.paused;
    panel.pausedAt = panel.t.length ? panel.t[panel.t.length - 1] : Date.now();
    $('pause').setAttribute('aria-pressed', String(panel.paused));
    $('pause').textContent = panel.paused ? 'Resume' : 'Pause';
    panel.dirty = true;
  });
  $('csv').addEventListener('click', exportCsv);
  $('span').addEventListener('change', () => { panel.dirty = true; });
  window.addEventListener('resize', () => { panel.dirty = true; });
  requestAnimationFrame(drawChart);
  setInterval(() => {
    if (panel.lastReading && Date.now() - panel.lastReading > kStaleMs) $('stale').hidden = false;
  }, 500);
}

// ---- Start ----

async function start() {
  wireControls();
  wireChart();
  let state;
  try {
    state = await (await fetch('api/state')).json();
  } catch (e) {
    streamLost();
    return;
  }
  for (const c of state.panel.controls) panel.controls.set(c.name, c);
  for (const select of document.querySelectorAll('select[data-control]')) {
    const c = panel.controls.get(select.dataset.control);
    if (c && c.choices) fillChoices(select, c.choices, null);
  }
  $('alarms').replaceChildren(...state.panel.alarms.map((a) => {
    const li = document.createElement('li');
    li.dataset.name = a.name;
    li.title = a.title;
    li.textContent = a.name;
    return li;
  }));
  for (const kind of ['identity', 'link', 'settings', 'errors', 'reading']) dispatch(kind, state[kind]);
  followEvents();
}

start();
