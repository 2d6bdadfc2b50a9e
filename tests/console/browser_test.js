// The console in a real browser: Debian's chromium, driven through the
// DevTools protocol by playwright-core, against the demo's stack
// (lighttpd, webcgi and coresim on 127.0.0.1:80 of the device root).
//
//   node browser_test.js WS_ENDPOINT BUILD_DIR NODE_MODULES SCREENSHOT_DIR
'use strict';

const assert = require('node:assert/strict');
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

const [wsEndpoint, buildDir, modulesDir, shotsDir] = process.argv.slice(2);
const { chromium } = require(path.join(modulesDir, 'playwright-core'));

const BASE = 'http://127.0.0.1';
const md5 = (text) => crypto.createHash('md5').update(text, 'utf8').digest('hex');

// The program's own catalogue: the console must list exactly this.
function catalogue() {
  const env = { ...process.env };
  delete env.REQUEST_METHOD;
  const out = execFileSync(path.join(buildDir, 'webcgi'), ['--endpoints'], { env, encoding: 'utf8' });
  return out
    .split('\n')
    .filter(Boolean)
    .map((line) => {
      const [p, table, handler, summary, access] = line.split('\t');
      return { path: p, table, handler, summary, access };
    });
}

const results = { passed: 0, failed: 0 };
async function check(name, body) {
  try {
    await body();
    results.passed++;
    console.log(`ok   ${name}`);
  } catch (e) {
    results.failed++;
    console.log(`FAIL ${name}\n     ${String(e.message).split('\n').join('\n     ')}`);
  }
}

// The program guards access itself: the test's own requests carry the
// session of an administrator's login.
let apiCookie = '';
const ADMIN_DIGEST = '0192023a7bbd73250516f069df18b500';  // MD5 of "admin123"

async function apiLogin() {
  const r = await cgiFetch(`/1000`, {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify({ userName: 'admin', md5: ADMIN_DIGEST }),
  });
  apiCookie = `userName=admin; sessionId=${(await r.json()).sessionId}`;
}

const cgiFetch = (p, init = {}) =>
  fetch(`${BASE}/cgi-bin/webcgi${p}`, { ...init, headers: { ...(init.headers || {}), Cookie: apiCookie } });

async function visible(page, selector) {
  await page.waitForSelector(selector, { state: 'visible' });
}

async function logIn(page, user, password) {
  await page.fill('#login-user', user);
  await page.fill('#login-password', password);
  await page.click('#login-submit');
}

async function panesSettled(page) {
  await page.waitForFunction(() => !document.querySelector('.pane[aria-busy]'));
}

async function selectEndpoint(page, p) {
  await page.click(`#catalogue-list a.entry[data-path="${p}"]`);
  await page.waitForFunction((want) => document.getElementById('ep-path').textContent === want, p);
}

async function send(page) {
  await page.click('#send');
  await page.waitForFunction(() => {
    const s = document.getElementById('reply-status').textContent;
    return s !== '' && s !== 'sending…';
  });
  return page.evaluate(() => ({
    status: document.getElementById('reply-status').textContent,
    time: document.getElementById('reply-time').textContent,
    headers: [...document.querySelectorAll('#reply-headers dt')].map((dt) => [dt.textContent, dt.nextElementSibling.textContent]),
    body: document.getElementById('reply-body').textContent,
    empty: document.getElementById('reply-body').classList.contains('empty'),
  }));
}

// A screenshot of the whole page, down to the end of its content.
async function shot(page, name) {
  const [width, bottom] = await page.evaluate(() => [
    document.documentElement.clientWidth,
    Math.ceil(document.querySelector('main').getBoundingClientRect().bottom + window.scrollY),
  ]);
  await page.screenshot({ path: path.join(shotsDir, name), clip: { x: 0, y: 0, width, height: bottom }, fullPage: true });
}

async function noSidewaysScroll(page) {
  const widths = await page.evaluate(() => [document.documentElement.scrollWidth, window.innerWidth]);
  assert.ok(widths[0] <= widths[1], `page is ${widths[0]} px wide in a ${widths[1]} px window`);
}

async function main() {
  const endpoints = catalogue();
  const paths = new Set(endpoints.map((e) => e.path));
  const browser = await chromium.connectOverCDP(wsEndpoint);
  const requested = [];

  const desktop = await browser.newContext({ viewport: { width: 1280, height: 900 } });
  desktop.on('request', (r) => requested.push(r.url()));
  const page = await desktop.newPage();
  page.setDefaultTimeout(20000);

  await check('the shipped catalogue is the program\'s', async () => {
    const shipped = JSON.parse(fs.readFileSync(path.join(buildDir, 'console', 'endpoints.json'), 'utf8'));
    assert.deepEqual(shipped, endpoints);
    const served = await (await fetch(`${BASE}/endpoints.json`)).json();
    assert.deepEqual(served, endpoints);
  });

  await check('examples name valid requests', async () => {
    const examples = await (await fetch(`${BASE}/examples.json`)).json();
    for (const [p, ex] of Object.entries(examples)) {
      assert.match(p, /^\/[\w.]+$/, p);  // "/vb.htm", "/dw.cgi"
      assert.ok(['get', 'json', 'form'].includes(ex.kind), `${p}: kind ${ex.kind}`);
      if (ex.kind === 'json' && typeof ex.body === 'string') JSON.parse(ex.body);
      if (ex.kind === 'get') assert.ok(ex.body === undefined || typeof ex.body === 'string', `${p}: a query is text`);
    }
  });

  await check('the guard turns away requests without a session', async () => {
    const r = await fetch(`${BASE}/cgi-bin/webcgi/6100`);
    assert.equal(r.status, 401);
    assert.equal(await r.text(), '');
    await apiLogin();
    assert.equal((await cgiFetch('/6100')).status, 200);
  });

  await check('the console opens on the login form', async () => {
    await page.goto(`${BASE}/`);
    await visible(page, '#view-login');
    assert.equal(await page.isHidden('#nav'), true);
  });

  await check('the page\'s MD5 is MD5', async () => {
    const samples = ['', 'a', 'abc', 'admin123', 'pässwörd 密码 🙂', ...[55, 56, 63, 64, 65, 119, 120].map((n) => 'x'.repeat(n))];
    const digests = await page.evaluate((texts) => texts.map((t) => window.md5(t)), samples);
    assert.deepEqual(digests, samples.map(md5));
  });

  await check('a wrong password is refused with its text', async () => {
    await logIn(page, 'admin', 'not-the-password');
    await visible(page, '#login-error');
    assert.equal(await page.textContent('#login-error'), 'Wrong user name or password.');
    assert.equal(await page.isVisible('#view-home'), false);
    const cookies = await desktop.cookies();
    assert.ok(!cookies.some((c) => c.name === 'sessionId'), 'no session after a refusal');
  });

  await check('a locked user is refused with its text', async () => {
    const add = await cgiFetch(`/6071`, {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({ name: 'guard', password: md5('guard123'), type: 3, permission: 0, remotePermission: 0 }),
    });
    assert.match(await add.text(), /^id=\d+$/);
    await logIn(page, 'guard', 'guard123');
    await page.waitForFunction(() => document.getElementById('login-error').textContent.includes('locked'));
    assert.equal(await page.textContent('#login-error'), 'This user is locked and may not log in.');
  });

  await check('admin / admin123 logs in and keeps the session', async () => {
    await logIn(page, 'admin', 'admin123');
    await visible(page, '#view-home');
    assert.equal(await page.textContent('#who-name'), 'admin');
    const cookies = Object.fromEntries((await desktop.cookies()).map((c) => [c.name, c.value]));
    assert.match(cookies.sessionId || '', /^\d{32}$/);
    assert.equal(cookies.userName, 'admin');
    assert.equal(cookies.userType, '0');
    assert.match(await page.textContent('#device-facts'), /software 7x\.7\.0\.9 · hardware V1\.1/);
  });

  await check('the home shows both disks of the simulated recorder with their sizes', async () => {
    await panesSettled(page);
    const disks = await page.$$eval('#pane-disks li.disk', (items) =>
      items.map((li) => ({
        name: li.querySelector('.disk-name').textContent,
        size: li.querySelector('.disk-size').textContent,
        used: li.querySelector('.meter').getAttribute('aria-valuenow'),
      })),
    );
    const byName = Object.fromEntries(disks.map((d) => [d.name, d]));
    assert.deepEqual(byName['WDC WD20PURZ'], { name: 'WDC WD20PURZ', size: '1650 GiB free of 2000 GiB', used: '18' });
    assert.deepEqual(byName.ST1000VX005, { name: 'ST1000VX005', size: '980 GiB free of 1000 GiB', used: '2' });
  });

  await check('the home lists the users', async () => {
    const users = await page.$$eval('#pane-users tbody tr', (rows) => rows.map((r) => [...r.cells].map((c) => c.textContent)));
    assert.deepEqual(users.map((u) => u[0]), ['admin', 'guard']);
    assert.equal(users[0][1], 'administrator (0)');
    assert.equal(users[1][1], 'locked (3)');
  });

  await check('panes of unregistered endpoints are not shown', async () => {
    const wanted = {
      'pane-channels': ['/8002', '/2001', '/2029', '/2012'].some((p) => paths.has(p)),
      'pane-recording': ['/6042', '/6044', '/8002'].some((p) => paths.has(p)),
    };
    for (const [id, registered] of Object.entries(wanted)) {
      assert.equal(await page.isVisible(`#${id}`), registered, `${id} shown: ${!registered}`);
      if (registered) assert.equal(await page.$(`#${id} .error`), null, `${id} reports an error`);
    }
    const count = await page.textContent('#pane-catalogue');
    assert.ok(count.includes(`${endpoints.length} endpoints`), count);
  });

  if (paths.has('/2029') && !['/8002', '/2001'].some((p) => paths.has(p))) {
    await check('the home lists the cameras on the channels', async () => {
      const cameras = (await (await cgiFetch(`/2029`)).json()).IPC.filter((c) => c.ipaddr !== '');
      assert.ok(cameras.length > 0, 'the simulated recorder has cameras');
      const rows = await page.$$eval('#pane-channels tr', (trs) => trs.map((r) => [...r.cells].map((c) => c.textContent)));
      assert.deepEqual(rows, [
        ['Channel', 'Address', 'Model', 'Firmware'],
        ...cameras.map((c) => [String(c.chnid + 1), c.ipaddr, c.model, c.fwversion]),
      ]);
      assert.equal(await page.textContent('#pane-channels p'), `${cameras.length} of 64 channels have a camera`);
    });
  }

  if (['/6042', '/6044'].every((p) => paths.has(p)) && paths.has('/2029') && !['/8002', '/2001'].some((p) => paths.has(p))) {
    await check('the home shows the recording state of the channels with a camera', async () => {
      const post = (p, body) => cgiFetch(p, { method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) });
      const settings = { cnt: 1, chnid: [0], camAnr: 0, prevRecordOn: 1, prevRecordDuration: 5, postRecordOn: 1, postRecordDuration: 30, audioEnable: 1, recordStreamType: 0, recordExpDate: 0 };
      assert.match(await (await post('/6045', settings)).text(), /"resp"/);
      assert.equal(await (await post('/6043', { records: [{ id: 0, mode: 1 }] })).text(), 'OK');
      await page.click('#refresh');
      await panesSettled(page);
      const cameras = (await (await cgiFetch(`/2029`)).json()).IPC.filter((c) => c.ipaddr !== '');
      const modes = (await (await cgiFetch(`/6042`)).json()).records;
      const rows = await page.$$eval('#pane-recording tr', (trs) => trs.map((r) => [...r.cells].map((c) => c.textContent)));
      const expected = [];
      for (const c of cameras) {
        const s = await (await cgiFetch(`/6044?${c.chnid}`)).json();
        const span = (on, length) => (on === 1 ? `${length} s` : 'off');
        const mode = modes.find((m) => m.id === c.chnid);
        expected.push([String(c.chnid + 1), String(mode.mode), span(s.prevRecordOn, s.prevRecordDuration), span(s.postRecordOn, s.postRecordDuration), s.audioEnable === 1 ? 'on' : 'off']);
      }
      assert.deepEqual(rows, [['Channel', 'Plan', 'Pre-record', 'Post-record', 'Audio'], ...expected]);
      assert.deepEqual(rows[1], ['1', '1', '5 s', '30 s', 'on']);
    });
  }

  await shot(page, 'home.png');

  await check('the explorer lists every catalogued endpoint, grouped by table', async () => {
    await page.click('#nav a[data-view="explorer"]');
    await visible(page, '#view-explorer');
    const listed = await page.$$eval('#catalogue-list a.entry', (as) => as.map((a) => a.dataset.path));
    assert.deepEqual([...listed].sort(), [...paths].sort());
    const groups = await page.$$eval('#catalogue-list section.group', (ss) => ss.map((s) => s.dataset.table));
    assert.deepEqual(groups, [...new Set(endpoints.map((e) => e.table))]);
    for (const table of groups) {
      const inGroup = await page.$$eval(`section.group[data-table="${table}"] a.entry`, (as) => as.map((a) => a.dataset.path));
      assert.deepEqual(inGroup, endpoints.filter((e) => e.table === table).map((e) => e.path));
    }
  });

  await check('searching "raid" finds /6108 and only what matches', async () => {
    await page.fill('#search', 'raid');
    const listed = await page.$$eval('#catalogue-list a.entry', (as) => as.map((a) => a.dataset.path));
    const expected = endpoints.filter((e) => `${e.path} ${e.handler} ${e.summary}`.toLowerCase().includes('raid')).map((e) => e.path);
    assert.ok(listed.includes('/6108'), listed.join(' '));
    assert.deepEqual(listed, expected);
    assert.equal(await page.textContent('#catalogue-count'), `${expected.length} of ${endpoints.length} endpoints`);
  });

  await check('/6108 shows its summary, is sent, and its reply is shown', async () => {
    await selectEndpoint(page, '/6108');
    const entry = endpoints.find((e) => e.path === '/6108');
    assert.equal(await page.textContent('#ep-summary'), entry.summary);
    assert.equal(await page.textContent('#ep-handler'), entry.handler);
    assert.equal(await page.textContent('#ep-access'), entry.access);
    assert.equal(await page.isChecked('input[name="kind"][value="get"]'), true);
    const direct = await (await cgiFetch(`/6108`)).text();
    const reply = await send(page);
    assert.equal(reply.status, '200 OK');
    assert.match(reply.time, /^\d+ ms$/);
    assert.deepEqual(reply.headers.find(([name]) => name === 'content-type'), ['content-type', 'text/plain']);
    assert.equal(reply.body, direct);
    assert.match(reply.body, /^[01]$/);
  });

  await check('a JSON reply is pretty-printed', async () => {
    await page.fill('#search', '');
    await selectEndpoint(page, '/6100');
    const reply = await send(page);
    assert.equal(reply.status, '200 OK');
    const direct = await (await cgiFetch(`/6100`)).json();
    assert.deepEqual(JSON.parse(reply.body), direct);
    assert.ok(reply.body.includes('\n  "resultString": "OK"'), reply.body.slice(0, 80));
  });
  await shot(page, 'explorer.png');

  await check('a JSON body is posted: the login example', async () => {
    await selectEndpoint(page, '/1000');
    assert.equal(await page.isChecked('input[name="kind"][value="json"]'), true);
    assert.match(await page.inputValue('#request-text'), /"userName":"admin"/);
    const reply = await send(page);
    assert.equal(JSON.parse(reply.body).type, 0);
  });

  await check('a form body is posted, and an unanswered request says so', async () => {
    await selectEndpoint(page, '/6103');
    await page.check('input[name="kind"][value="form"]');
    await page.fill('#request-text', '2');
    assert.equal((await send(page)).body, 'OK');
    await page.fill('#request-text', '17');
    const reply = await send(page);
    assert.equal(reply.status, '500 Internal Server Error');
    assert.equal(reply.empty, true);
  });

  await check('a session ended elsewhere sends the console to the login', async () => {
    const session = (await desktop.cookies()).find((c) => c.name === 'sessionId').value;
    await fetch(`${BASE}/cgi-bin/webcgi/1040`, { headers: { Cookie: `sessionId=${session}` } });
    await page.goto(`${BASE}/#home`);
    await visible(page, '#view-login');
    assert.equal(await page.textContent('#login-error'), 'The session has ended: log in again.');
    await logIn(page, 'admin', 'admin123');
    await visible(page, '#view-home');
  });

  await check('log-out ends the session', async () => {
    const session = (await desktop.cookies()).find((c) => c.name === 'sessionId').value;
    await page.click('#logout');
    await visible(page, '#view-login');
    const cookies = await desktop.cookies();
    assert.ok(!cookies.some((c) => c.name === 'sessionId'), 'sessionId cookie left');
    const after = await fetch(`${BASE}/cgi-bin/webcgi/6108`, { headers: { Cookie: `sessionId=${session}` } });
    assert.equal(after.status, 401, 'the program still knows the session');
    await page.goto(`${BASE}/#explorer/6108`);
    await visible(page, '#view-login');
    assert.equal(await page.isVisible('#view-explorer'), false);
  });

  await check('on a phone-sized screen nothing runs off the side', async () => {
    const phone = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
    phone.on('request', (r) => requested.push(r.url()));
    const small = await phone.newPage();
    small.setDefaultTimeout(20000);
    await small.goto(`${BASE}/`);
    await logIn(small, 'admin', 'admin123');
    await visible(small, '#view-home');
    await panesSettled(small);
    assert.equal(await small.locator('#pane-disks li.disk').count() >= 2, true);
    await noSidewaysScroll(small);
    await shot(small, 'phone-home.png');
    await small.click('#nav a[data-view="explorer"]');
    await visible(small, '#view-explorer');
    await small.fill('#search', 'raid');
    await selectEndpoint(small, '/6108');
    await send(small);
    await noSidewaysScroll(small);
    await shot(small, 'phone-explorer.png');
    await phone.close();
  });

  // Modules still to come: the test serves their endpoints, as the program
  // will once they are registered, and then answers that make no sense.
  await check('channel and recording panes appear with their endpoints and read them defensively', async () => {
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
    context.on('request', (r) => requested.push(r.url()));
    const more = [
      { path: '/8002', table: 'status', handler: 'on_get_camera_status', summary: 'camera status' },
      { path: '/6042', table: 'record', handler: 'on_get_record_modes', summary: 'plan modes' },
      { path: '/6044', table: 'record', handler: 'on_get_record_settings', summary: 'record settings' },
    ];
    const none = { res: '--', framerate: '--', bitrate: '--', connection: '--' };
    let sensible = true;
    const answers = {
      '/8002': () => ({
        IPC: [
          { id: 0, name: 'Front door', enable: 1, ipAddr: '192.0.2.21', recordOn: 1, alarmOn: 0, main: { res: { width: 1920, height: 1080 }, framerate: 25, bitrate: 4096, connection: 1, connectStatus: 1 }, sub: none },
          { id: 1, name: '', enable: 0, ipAddr: '--', recordOn: '--', alarmOn: '--', main: none, sub: none },
          { id: 2, name: 'Yard', enable: 1, ipAddr: '192.0.2.22', recordOn: 0, alarmOn: 0, main: none, sub: none },
        ],
      }),
      '/6042': () => (sensible ? { records: [{ id: 0, mode: 1 }, { id: 1, mode: 0 }, { id: 2, mode: 2 }] } : { records: 'none' }),
      '/6044': (query) =>
        sensible && query === '0'
          ? { id: 0, prevRecordOn: 1, prevRecordDuration: 5, postRecordOn: 1, postRecordDuration: 30, audioEnable: 0 }
          : sensible
            ? { id: 2, prevRecordOn: 0, postRecordOn: 0, audioEnable: 1 }
            : [null, 7],
    };
    await context.route('**/endpoints.json', (route) => route.fulfill({ json: [...endpoints, ...more] }));
    await context.route(/\/cgi-bin\/webcgi\/(8002|6042|6044)/, (route) => {
      const url = new URL(route.request().url());
      return route.fulfill({ json: answers[url.pathname.replace('/cgi-bin/webcgi', '')](url.search.slice(1)) });
    });
    const p = await context.newPage();
    p.setDefaultTimeout(20000);
    await p.goto(`${BASE}/`);
    await logIn(p, 'admin', 'admin123');
    await visible(p, '#pane-channels');
    await visible(p, '#pane-recording');
    await panesSettled(p);
    const table = (id) => p.$$eval(`#${id} tr`, (rows) => rows.map((r) => [...r.cells].map((c) => c.textContent)));
    assert.deepEqual(await table('pane-channels'), [
      ['Channel', 'Name', 'Address', 'State'],
      ['1', 'Front door', '192.0.2.21', '1'],
      ['3', 'Yard', '192.0.2.22', '—'],
    ]);
    assert.equal(await p.textContent('#pane-channels p'), '2 of 3 channels have a camera');
    assert.deepEqual(await table('pane-recording'), [
      ['Channel', 'Recording', 'Plan', 'Pre-record', 'Post-record', 'Audio'],
      ['1', 'yes', '1', '5 s', '30 s', 'off'],
      ['3', 'no', '2', 'off', 'off', 'on'],
    ]);
    await shot(p, 'home-more-modules.png');

    sensible = false;
    await p.click('#refresh');
    await panesSettled(p);
    assert.equal(await p.locator('#pane-channels tbody tr').count(), 2, 'channels still listed');
    assert.match(await p.textContent('#pane-recording .error'), /Unexpected reply/);
    assert.equal(await p.locator('#pane-disks li.disk').count() >= 2, true, 'disks unaffected');
    await context.close();
  });

  await check('the API page lists every operation, and one runs against the demo', async () => {
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
    context.on('request', (r) => requested.push(r.url()));
    const p = await context.newPage();
    p.setDefaultTimeout(20000);
    await p.goto(`${BASE}/`);
    await logIn(p, 'admin', 'admin123');
    await visible(p, '#view-home');
    await p.click('#api-link');
    await p.waitForURL(`${BASE}/api/`);
    const doc = await (await fetch(`${BASE}/api/openapi.json`)).json();
    assert.deepEqual(Object.keys(doc.paths).sort(), [...paths].map((x) => `/cgi-bin/webcgi${x}`).sort());
    // The disk list: its table's section, then the operation, then "Try it out".
    await p.click('#operations-tag-storage');
    const op = p.locator('#operations-storage-on_get_disk_info');
    await op.locator('.opblock-summary-control').click();
    await op.locator('button.try-out__btn').click();
    await op.locator('button.execute').click();
    const status = op.locator('.live-responses-table .response .response-col_status');
    await status.waitFor();
    assert.equal((await status.textContent()).trim(), '200');
    const body = await op.locator('.live-responses-table .response-col_description pre').first().textContent();
    assert.match(body, /WDC WD20PURZ/);
    await p.screenshot({ path: path.join(shotsDir, 'api-page.png'), fullPage: true });
    await context.close();
  });

  await check('nothing was fetched from anywhere but the recorder', async () => {
    const foreign = requested.filter((u) => !u.startsWith(`${BASE}/`) && !u.startsWith('data:'));
    assert.deepEqual(foreign, []);
  });

  await desktop.close();
  await browser.close();
  console.log(`${results.passed} passed, ${results.failed} failed`);
  console.log(`screenshots in ${shotsDir}`);
  process.exit(results.failed === 0 ? 0 : 1);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
