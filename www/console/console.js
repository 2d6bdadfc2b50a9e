// The recorder console: log in as the recorder's own pages do, see the
// recorder at a glance, and send any endpoint of the program's catalogue a
// request. Every pane and every endpoint comes from the catalogue
// (endpoints.json, written from `webcgi --endpoints` when the program is
// built), so the console grows with the program.
(function () {
  'use strict';

  const CGI = 'cgi-bin/webcgi';
  // The cookies the recorder's pages keep for a visit.
  const SESSION_COOKIES = ['userName', 'userType', 'permission', 'sessionId', 'language'];
  const USER_TYPES = ['administrator', 'operator', 'user', 'locked'];
  const DISK_KINDS = { 3: 'NFS share', 4: 'RAID array', 10: 'SMB/CIFS share' };
  // Where the channels pane reads, in order of preference: camera status,
  // camera list, the cameras' models, channel names.
  const CHANNEL_SOURCES = ['/8002', '/2001', '/2029', '/2012'];
  const LISTED_CHANNELS = 16;  // rows of the recording pane at most
  const PARALLEL_REQUESTS = 4;  // per-channel requests in flight at once

  const state = {
    catalogue: null,  // [{path, table, handler, summary, access}] in catalogue order
    byPath: new Map(),
    examples: {},
    selected: null,
  };

  // ---- small helpers ------------------------------------------------------

  const $ = (id) => document.getElementById(id);

  function el(tag, props, ...children) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(props || {})) {
      if (value === undefined || value === null || value === false) continue;
      if (key === 'class') node.className = value;
      else if (key === 'text') node.textContent = value;
      else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
      else node.setAttribute(key, value === true ? '' : value);
    }
    for (const child of children.flat()) {
      if (child !== undefined && child !== null && child !== false) node.append(child);
    }
    return node;
  }

  const isObject = (v) => v !== null && typeof v === 'object' && !Array.isArray(v);
  const num = (v) => (Number.isFinite(Number(v)) && v !== '' && v !== null ? Number(v) : NaN);
  const text = (v) => (typeof v === 'string' || typeof v === 'number' ? String(v) : '');
  const known = (v) => text(v) !== '' && text(v) !== '--';

  function parseJson(body) {
    try {
      return JSON.parse(body);
    } catch (e) {
      return undefined;
    }
  }

  // A size the program reports in MiB, for people.
  function sizeText(mib) {
    const m = num(mib);
    if (!(m > 0)) return '0 MiB';
    if (m < 1024) return `${Math.round(m)} MiB`;
    const gib = m / 1024;
    if (gib < 100) return `${Number(gib.toFixed(1))} GiB`;
    if (gib < 10240) return `${Math.round(gib)} GiB`;
    return `${Number((gib / 1024).toFixed(1))} TiB`;
  }

  // ---- cookies and the session ---------------------------------------------

  function cookie(name) {
    for (const part of document.cookie.split(';')) {
      const eq = part.indexOf('=');
      if (eq > 0 && part.slice(0, eq).trim() === name) {
        try {
          return decodeURIComponent(part.slice(eq + 1).trim());
        } catch (e) {
          return part.slice(eq + 1).trim();
        }
      }
    }
    return '';
  }

  function setCookie(name, value) {
    document.cookie = `${name}=${encodeURIComponent(value)}; path=/; SameSite=Strict`;
  }

  function clearCookie(name) {
    document.cookie = `${name}=; path=/; max-age=0; SameSite=Strict`;
  }

  const loggedIn = () => cookie('sessionId') !== '';

  function loginFacts() {
    const facts = parseJson(sessionStorage.getItem('login') || '');
    return isObject(facts) ? facts : {};
  }

  // ---- requests ------------------------------------------------------------

  const CONTENT_TYPES = { json: 'application/json', form: 'application/x-www-form-urlencoded' };

  function requestUrl(path, kind, body) {
    // The program reads the query as it stands (only %22 becomes a quote);
    // a '#' would end the URL, so it travels encoded.
    const query = kind === 'get' && body !== '' ? '?' + body.replace(/#/g, '%23') : '';
    return `${CGI}${path}${query}`;
  }

  // One request to an endpoint: kind 'get' (body as the query), 'json' or
  // 'form' (body as a POST of that type). Resolves with what came back.
  async function call(path, kind = 'get', body = '') {
    const init = { cache: 'no-store', credentials: 'same-origin', redirect: 'manual' };
    if (kind !== 'get') {
      init.method = 'POST';
      init.headers = { 'Content-Type': CONTENT_TYPES[kind] };
      init.body = body;
    }
    const started = performance.now();
    const response = await fetch(requestUrl(path, kind, body), init);
    const reply = await response.text();
    // The program guards access itself: 401 means the session has ended.
    if (response.status === 401 && loggedIn()) sessionEnded();
    return {
      redirect: response.type === 'opaqueredirect',
      status: response.status,
      statusText: response.statusText,
      headers: [...response.headers],
      body: reply,
      ms: performance.now() - started,
    };
  }

  function failureText(reply) {
    if (reply.redirect) return 'The program answered with a redirect.';
    if (reply.status === 401) return 'Not logged in, or the session has ended (HTTP 401).';
    if (reply.status === 403) return 'This account lacks the right this needs (HTTP 403).';
    if (reply.body === '') return `No reply from the program (HTTP ${reply.status}).`;
    const shown = reply.body.length > 120 ? reply.body.slice(0, 120) + '…' : reply.body;
    return `Unexpected reply (HTTP ${reply.status}): ${shown}`;
  }

  // ---- views ---------------------------------------------------------------

  function route() {
    const hash = location.hash.replace(/^#/, '');
    const [view, ...rest] = hash.split('/');
    if (!loggedIn()) return show('login');
    if (view === 'explorer') return show('explorer', rest.length ? '/' + rest.join('/') : '');
    return show('home');
  }

  function show(view, detail) {
    for (const name of ['login', 'home', 'explorer']) $('view-' + name).hidden = name !== view;
    const inside = view !== 'login';
    $('nav').hidden = !inside;
    $('who').hidden = !inside;
    for (const link of document.querySelectorAll('#nav a')) {
      link.classList.toggle('current', link.dataset.view === view);
    }
    if (view === 'login') {
      $('login-user').focus();
      return;
    }
    $('who-name').textContent = cookie('userName');
    if (view === 'home') loadHome();
    else loadExplorer(detail);
  }

  // ---- login ---------------------------------------------------------------

  async function login(user, password) {
    const body = JSON.stringify({ userName: user, md5: md5(password) });
    const reply = await call('/1000', 'json', body);
    const answer = parseJson(reply.body);
    if (!isObject(answer) || !Number.isInteger(answer.type)) return { error: failureText(reply) };
    if (answer.type === -2) return { error: 'This user is locked and may not log in.' };
    if (answer.type < 0) return { error: 'Wrong user name or password.' };
    if (text(answer.sessionId) === '') return { error: failureText(reply) };
    return { answer };
  }

  async function onLogin(event) {
    event.preventDefault();
    const error = $('login-error');
    const button = $('login-submit');
    error.hidden = true;
    button.disabled = true;
    try {
      const user = $('login-user').value.trim();
      const result = await login(user, $('login-password').value);
      if (result.error) {
        error.textContent = result.error;
        error.hidden = false;
        $('login-password').select();
        return;
      }
      const a = result.answer;
      setCookie('userName', text(a.userName) || user);
      setCookie('userType', text(a.type));
      setCookie('permission', text(a.permission));
      setCookie('sessionId', text(a.sessionId));
      setCookie('language', 'en-US');
      sessionStorage.setItem('login', JSON.stringify(a));
      $('login-password').value = '';
      // A changed hash routes by itself (hashchange); an unchanged one does not.
      if (/^#(home|explorer)/.test(location.hash)) route();
      else location.hash = '#home';
    } catch (e) {
      error.textContent = `The recorder could not be reached: ${e.message}`;
      error.hidden = false;
    } finally {
      button.disabled = false;
    }
  }

  // Back to the login page, with `notice` shown there when given.
  function leave(notice) {
    for (const name of SESSION_COOKIES) clearCookie(name);
    sessionStorage.removeItem('login');
    state.selected = null;
    const error = $('login-error');
    error.textContent = notice || '';
    error.hidden = !notice;
    if (location.hash === '#login') route();
    else location.hash = '#login';
  }

  function sessionEnded() {
    leave('The session has ended: log in again.');
  }

  // The program ends the session too; the cookies go whatever it answers.
  async function logout() {
    try {
      await call('/1040');
    } catch (e) {
      // unreachable recorder: the session ends by itself
    }
    leave();
  }

  // ---- the catalogue -------------------------------------------------------

  async function loadCatalogue() {
    if (state.catalogue) return state.catalogue;
    const [catalogue, examples] = await Promise.all([
      fetch('endpoints.json', { cache: 'no-store' }).then((r) => r.json()),
      fetch('examples.json', { cache: 'no-store' })
        .then((r) => r.json())
        .catch(() => ({})),
    ]);
    if (!Array.isArray(catalogue)) throw new Error('endpoints.json is not a list');
    state.catalogue = catalogue.filter((e) => isObject(e) && typeof e.path === 'string');
    for (const e of state.catalogue) state.byPath.set(e.path, e);
    state.examples = isObject(examples) ? examples : {};
    return state.catalogue;
  }

  const has = (path) => state.byPath.has(path);
  const firstRegistered = (paths) => paths.find(has);

  // ---- home ----------------------------------------------------------------

  // Each pane appears only when one of its endpoints is in the catalogue.
  const PANES = [
    { id: 'pane-disks', needs: ['/6100'], fill: fillDisks },
    { id: 'pane-users', needs: ['/6070'], fill: fillUsers },
    { id: 'pane-channels', needs: CHANNEL_SOURCES, fill: fillChannels },
    { id: 'pane-recording', needs: ['/6042', '/6044', '/8002'], fill: fillRecording },
    { id: 'pane-catalogue', needs: [], fill: fillCatalogue },
  ];

  let homeLoad = 0;  // a newer load makes an older one's late answers moot

  async function loadHome() {
    const load = ++homeLoad;
    const facts = loginFacts();
    const parts = [];
    if (known(facts.model)) parts.push(`Model ${facts.model}`);
    if (known(facts.softwareVersion)) parts.push(`software ${facts.softwareVersion}`);
    if (known(facts.hardwareVersion)) parts.push(`hardware ${facts.hardwareVersion}`);
    $('device-facts').textContent = parts.join(' · ');
    try {
      await loadCatalogue();
    } catch (e) {
      $('device-facts').textContent = `The endpoint catalogue could not be loaded: ${e.message}`;
      return;
    }
    const channels = channelSource();
    for (const pane of PANES) {
      const node = $(pane.id);
      const wanted = pane.needs.length === 0 || pane.needs.some(has);
      node.hidden = !wanted;
      if (!wanted) continue;
      const body = node.querySelector('.pane-body');
      body.replaceChildren(el('p', { class: 'muted loading', text: 'Loading…' }));
      node.setAttribute('aria-busy', 'true');
      pane
        .fill({ channels })
        .then((content) => load === homeLoad && body.replaceChildren(...content))
        .catch((e) => load === homeLoad && body.replaceChildren(el('p', { class: 'error', text: e.message })))
        .finally(() => load === homeLoad && node.removeAttribute('aria-busy'));
    }
  }

  // A table that scrolls sideways inside its pane when it cannot fit.
  function grid(titles, rows) {
    const head = el('thead', {}, el('tr', {}, titles.map((t) => el('th', { text: t }))));
    return el('div', { class: 'scroll' }, el('table', { class: 'grid' }, head, el('tbody', {}, rows)));
  }

  function failure(reply) {
    throw new Error(failureText(reply));
  }

  // Disks: "/6100".
  async function fillDisks() {
    const reply = await call('/6100');
    const doc = parseJson(reply.body);
    if (!isObject(doc) || !Array.isArray(doc.HDD)) failure(reply);
    const disks = doc.HDD.filter(isObject);
    if (disks.length === 0) return [el('p', { class: 'muted', text: 'No disks.' })];
    let total = 0;
    let free = 0;
    for (const d of disks) {
      total += num(d.totalSize) > 0 ? num(d.totalSize) : 0;
      free += num(d.freeSize) > 0 ? num(d.freeSize) : 0;
    }
    return [
      el('p', { class: 'muted', text: `${disks.length} ${disks.length === 1 ? 'disk' : 'disks'} · ${sizeText(free)} free of ${sizeText(total)}` }),
      el('ul', { class: 'disks' }, disks.map(diskItem)),
    ];
  }

  function diskItem(d) {
    const type = num(d.hddType);
    const kind = DISK_KINDS[type] || 'Disk';
    let name = text(d.vendorName) || kind;
    if (type === 3 || type === 10) name = `${kind} ${text(d.address)}:${text(d.directory)}`;
    if (type === 4) name = `RAID array ${text(d.raid_id)}, level ${text(d.raid_level)}`;
    const total = num(d.totalSize) > 0 ? num(d.totalSize) : 0;
    const free = Math.min(total, num(d.freeSize) > 0 ? num(d.freeSize) : 0);
    const used = total > 0 ? ((total - free) * 100) / total : 0;
    const where = type === 4 ? `id ${text(d.portId)}` : `port ${text(d.portId)}`;
    const condition = `state ${text(d.state)}${num(d.bUsable) === 1 ? ', usable' : num(d.bUsable) === 0 ? ', not usable' : ''}`;
    return el(
      'li',
      { class: 'disk', 'data-port': text(d.portId) },
      el('div', { class: 'disk-head' }, el('span', { class: 'disk-name', text: name }), el('span', { class: 'tag', text: where })),
      el(
        'div',
        { class: 'meter', role: 'meter', 'aria-valuemin': 0, 'aria-valuemax': 100, 'aria-valuenow': Math.round(used), title: `${Math.round(used)}% used` },
        el('span', { style: `width: ${used.toFixed(1)}%` }),
      ),
      el(
        'div',
        { class: 'disk-sizes' },
        el('span', { class: 'disk-size', text: `${sizeText(free)} free of ${sizeText(total)}` }),
        el('span', { class: 'muted', text: condition }),
      ),
    );
  }

  // Users: "/6070".
  async function fillUsers() {
    const reply = await call('/6070');
    const users = parseJson(reply.body);
    if (!Array.isArray(users)) failure(reply);
    const rows = users.filter(isObject).map((u) => {
      const type = num(u.type);
      const label = USER_TYPES[type] ? `${USER_TYPES[type]} (${type})` : `type ${text(u.type)}`;
      return el('tr', {}, el('td', { class: 'user-name wrap', text: text(u.name) }), el('td', { text: label }), el('td', { text: text(u.permission) }));
    });
    if (rows.length === 0) return [el('p', { class: 'muted', text: 'No user accounts.' })];
    return [
      grid(['Name', 'Type', 'Permission'], rows),
    ];
  }

  // Channels: the first of CHANNEL_SOURCES that the program has, read once
  // per home load and shared with the recording pane.
  function channelSource() {
    const path = firstRegistered(CHANNEL_SOURCES);
    if (!path) return Promise.resolve(null);
    return call(path).then((reply) => {
      const doc = parseJson(reply.body);
      if (!isObject(doc) || !Array.isArray(doc.IPC)) failure(reply);
      const all = doc.IPC.filter(isObject).map((c, i) => channel(c, i, path));
      return { path, all, max: num(doc.maxIPCNums) > 0 ? num(doc.maxIPCNums) : all.length };
    });
  }

  function channel(c, index, path) {
    const id = [c.id, c.chnid].map(num).find(Number.isInteger);
    const main = isObject(c.main) ? c.main : {};
    const address = [c.ipAddr, c.ipaddr].find(known) || '';
    const status = [c.connectState, c.state, main.connectStatus].find(known);
    return {
      id: id === undefined ? index : id,
      name: text(c.name),
      address: text(address),
      model: text(c.model),
      firmware: text(c.fwversion || c.fwVersion),
      status: status === undefined ? '' : text(status),
      recording: known(c.recordOn) ? num(c.recordOn) : undefined,
      camera: path === '/2012' ? known(c.name) : num(c.enable) === 1 || known(address),
    };
  }

  // Title, value, and whether a long value may wrap (cells keep to one line).
  const CHANNEL_COLUMNS = [
    ['Name', (c) => c.name, true],
    ['Address', (c) => c.address, false],
    ['Model', (c) => c.model, false],
    ['Firmware', (c) => c.firmware, true],
    ['State', (c) => c.status, false],
  ];

  async function fillChannels({ channels }) {
    const source = await channels;
    const used = source.all.filter((c) => c.camera);
    const note = el('p', { class: 'muted', text: `${used.length} of ${source.max} channels have a camera` });
    if (used.length === 0) return [note];
    // Only the columns the source fills for some camera.
    const columns = CHANNEL_COLUMNS.filter(([, value]) => used.some((c) => value(c) !== ''));
    const rows = used.map((c) =>
      el('tr', {}, el('td', { text: String(c.id + 1) }), columns.map(([, value, wrap]) => el('td', { class: wrap && 'wrap', text: value(c) || '—' }))),
    );
    return [note, grid(['Channel', ...columns.map(([title]) => title)], rows)];
  }

  // Recording: plan modes "/6042", per-channel settings "/6044" and the
  // recording flag of the camera status "/8002", as far as registered.
  async function fillRecording({ channels }) {
    const source = await channels.catch(() => null);
    const byId = new Map();
    const row = (id) => byId.get(id) || byId.set(id, { id }).get(id);
    if (source) {
      for (const c of source.all) {
        if (!c.camera) continue;
        row(c.id).name = c.name;
        if (c.recording !== undefined) row(c.id).recording = c.recording;
      }
    }
    const columns = [];
    if (source && source.path === '/8002') columns.push(['Recording', (r) => (r.recording === undefined ? '—' : r.recording ? 'yes' : 'no')]);
    if (has('/6042')) {
      const reply = await call('/6042');
      const doc = parseJson(reply.body);
      if (!isObject(doc) || !Array.isArray(doc.records)) failure(reply);
      for (const r of doc.records.filter(isObject)) {
        if (!Number.isInteger(num(r.id))) continue;
        if (source && !byId.has(num(r.id))) continue;  // no camera on it
        row(num(r.id)).mode = text(r.mode);
      }
      columns.push(['Plan', (r) => r.mode || '—']);
    }
    let ids = [...byId.keys()].sort((a, b) => a - b);
    if (!source && !has('/6042')) ids = [...Array(LISTED_CHANNELS).keys()];
    const shown = ids.slice(0, LISTED_CHANNELS);
    if (has('/6044')) {
      await inTurn(shown.map((id) => () => recordSettings(row(id))));
      columns.push(['Pre-record', (r) => onOff(r.settings, 'prevRecordOn', 'prevRecordDuration')]);
      columns.push(['Post-record', (r) => onOff(r.settings, 'postRecordOn', 'postRecordDuration')]);
      columns.push(['Audio', (r) => (r.settings ? (num(r.settings.audioEnable) === 1 ? 'on' : 'off') : '—')]);
    }
    if (shown.length === 0) return [el('p', { class: 'muted', text: 'No channel has a camera.' })];
    const notes = [];
    if (ids.length > shown.length) notes.push(el('p', { class: 'muted', text: `The first ${shown.length} of ${ids.length} channels.` }));
    const rows = shown.map((id) => {
      const r = byId.get(id) || { id };
      return el('tr', {}, el('td', { text: String(id + 1) }), columns.map(([, cell]) => el('td', { text: cell(r) })));
    });
    return [...notes, grid(['Channel', ...columns.map(([title]) => title)], rows)];
  }

  // Runs the jobs with at most PARALLEL_REQUESTS of them at once.
  async function inTurn(jobs) {
    const queue = [...jobs];
    const worker = async () => {
      while (queue.length) await queue.shift()();
    };
    await Promise.all(Array.from({ length: Math.min(PARALLEL_REQUESTS, queue.length) }, worker));
  }

  async function recordSettings(r) {
    const reply = await call('/6044', 'get', String(r.id));
    const doc = parseJson(reply.body);
    if (isObject(doc)) r.settings = doc;
  }

  function onOff(settings, flag, length) {
    if (!settings) return '—';
    if (num(settings[flag]) !== 1) return 'off';
    return known(settings[length]) ? `${text(settings[length])} s` : 'on';
  }

  async function fillCatalogue() {
    const tables = new Map();
    for (const e of state.catalogue) tables.set(e.table, (tables.get(e.table) || 0) + 1);
    const list = [...tables].map(([name, count]) => `${name} ${count}`).join(', ');
    return [
      el('p', {}, `${state.catalogue.length} endpoints in ${tables.size} tables: ${list}.`),
      el('p', {}, el('a', { href: '#explorer', text: 'Open the endpoint explorer' })),
    ];
  }

  // ---- the endpoint explorer -----------------------------------------------

  async function loadExplorer(path) {
    try {
      await loadCatalogue();
    } catch (e) {
      $('catalogue-count').textContent = `The endpoint catalogue could not be loaded: ${e.message}`;
      return;
    }
    renderCatalogue();
    const entry = state.byPath.get(path);
    if (entry && entry !== state.selected) selectEndpoint(entry);
    if (!entry) {
      state.selected = null;
      $('endpoint-detail').hidden = true;
      $('endpoint-none').hidden = false;
    }
  }

  function matches(entry, terms) {
    const hay = `${entry.path} ${entry.handler} ${entry.summary}`.toLowerCase();
    return terms.every((t) => hay.includes(t));
  }

  function renderCatalogue() {
    const terms = $('search').value.toLowerCase().split(/\s+/).filter(Boolean);
    const groups = new Map();
    let count = 0;
    for (const entry of state.catalogue) {
      if (!matches(entry, terms)) continue;
      if (!groups.has(entry.table)) groups.set(entry.table, []);
      groups.get(entry.table).push(entry);
      count++;
    }
    const total = state.catalogue.length;
    $('catalogue-count').textContent = terms.length ? `${count} of ${total} endpoints` : `${total} endpoints`;
    const list = $('catalogue-list');
    list.replaceChildren(
      ...[...groups].map(([table, entries]) =>
        el(
          'section',
          { class: 'group', 'data-table': table },
          el('h3', {}, table, el('span', { class: 'muted', text: ` ${entries.length}` })),
          el('ul', {}, entries.map(catalogueItem)),
        ),
      ),
    );
    if (count === 0) list.append(el('p', { class: 'muted', text: 'No endpoint matches.' }));
  }

  function catalogueItem(entry) {
    const current = state.selected === entry;
    return el(
      'li',
      {},
      el(
        'a',
        { class: current ? 'entry current' : 'entry', href: `#explorer${entry.path}`, 'data-path': entry.path },
        el('code', { class: 'entry-path', text: entry.path }),
        el('span', { class: 'entry-summary', text: entry.summary }),
      ),
    );
  }

  function selectEndpoint(entry) {
    state.selected = entry;
    for (const a of document.querySelectorAll('#catalogue-list a.entry')) {
      a.classList.toggle('current', a.dataset.path === entry.path);
    }
    $('endpoint-none').hidden = true;
    $('endpoint-detail').hidden = false;
    $('ep-path').textContent = entry.path;
    $('ep-table').textContent = entry.table;
    $('ep-handler').textContent = entry.handler;
    $('ep-access').textContent = entry.access || 'public';
    $('ep-summary').textContent = entry.summary || '(no summary)';
    $('reply').hidden = true;
    useExample();
    if (window.matchMedia('(max-width: 760px)').matches) $('endpoint').scrollIntoView({ block: 'start' });
  }

  // The example request of an endpoint: {"kind": "get"|"json"|"form",
  // "body": text or JSON value, "note": text}. Without one: an empty GET.
  function exampleOf(path) {
    const ex = isObject(state.examples[path]) ? state.examples[path] : {};
    const kind = ex.kind in CONTENT_TYPES || ex.kind === 'get' ? ex.kind : 'get';
    let body = ex.body === undefined ? '' : ex.body;
    if (typeof body !== 'string') {
      // Indented when that stays short: the program reads at most 128
      // lines of a body.
      const flat = JSON.stringify(body);
      const indented = JSON.stringify(body, null, 2);
      body = flat.length > 72 && indented.split('\n').length <= 40 ? indented : flat;
    }
    return { kind, body, note: text(ex.note) };
  }

  function useExample() {
    const ex = exampleOf(state.selected.path);
    for (const radio of document.querySelectorAll('input[name="kind"]')) radio.checked = radio.value === ex.kind;
    $('request-text').value = ex.body;
    $('example-note').textContent = ex.note;
    updateRequestLine();
  }

  function currentKind() {
    const checked = document.querySelector('input[name="kind"]:checked');
    return checked ? checked.value : 'get';
  }

  function updateRequestLine() {
    if (!state.selected) return;
    const kind = currentKind();
    const body = $('request-text').value;
    const target = '/' + requestUrl(state.selected.path, kind, body);
    $('request-line').textContent = kind === 'get' ? `GET ${target}` : `POST ${target}   Content-Type: ${CONTENT_TYPES[kind]}`;
    $('request-text').placeholder = kind === 'get' ? 'query text (empty: none)' : 'request body';
  }

  async function onSend(event) {
    event.preventDefault();
    if (!state.selected) return;
    const entry = state.selected;
    const button = $('send');
    button.disabled = true;
    $('reply').hidden = false;
    $('reply-status').textContent = 'sending…';
    $('reply-status').className = 'status';
    $('reply-time').textContent = '';
    $('reply-headers').replaceChildren();
    $('reply-body').textContent = '';
    try {
      const reply = await call(entry.path, currentKind(), $('request-text').value);
      if (state.selected === entry) showReply(reply);
    } catch (e) {
      $('reply-status').textContent = 'failed';
      $('reply-status').className = 'status bad';
      $('reply-body').textContent = `The request failed: ${e.message}`;
    } finally {
      button.disabled = false;
    }
  }

  function showReply(reply) {
    const status = $('reply-status');
    status.textContent = reply.redirect ? 'redirect' : `${reply.status} ${reply.statusText}`.trim();
    status.className = reply.redirect || (reply.status >= 200 && reply.status < 400) ? 'status ok' : 'status bad';
    $('reply-time').textContent = `${reply.ms.toFixed(0)} ms`;
    $('reply-headers').replaceChildren(...reply.headers.flatMap(([name, value]) => [el('dt', { text: name }), el('dd', { text: value })]));
    const body = $('reply-body');
    body.classList.remove('json', 'empty');
    if (reply.redirect) {
      body.classList.add('empty');
      body.textContent = 'The program answered with a redirect; the browser keeps its status and headers from the page.';
      return;
    }
    if (reply.body === '') {
      body.classList.add('empty');
      body.textContent = '(empty body: the program wrote no reply to this request)';
      return;
    }
    const json = parseJson(reply.body);
    if (json !== undefined && /^\s*[[{]/.test(reply.body)) {
      body.classList.add('json');
      body.textContent = JSON.stringify(json, null, 2);
    } else {
      body.textContent = reply.body;
    }
  }

  // ---- start ---------------------------------------------------------------

  $('login-form').addEventListener('submit', onLogin);
  $('logout').addEventListener('click', logout);
  $('refresh').addEventListener('click', () => loadHome());
  $('search').addEventListener('input', renderCatalogue);
  $('request-form').addEventListener('submit', onSend);
  $('request-form').addEventListener('input', updateRequestLine);
  $('example').addEventListener('click', useExample);
  window.addEventListener('hashchange', route);
  route();
})();
