// The OpenAPI document validates, and describes exactly the registered
// endpoints: one operation each, with its row's summary, table and handler.
//
//   node validate_doc.js DOC WEBCGI NODE_MODULES EXAMPLES
'use strict';

const assert = require('node:assert/strict');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

const [docFile, program, modulesDir, examplesFile] = process.argv.slice(2);
const SwaggerParser = require(path.join(modulesDir, '@apidevtools/swagger-parser'));

const PREFIX = '/cgi-bin/webcgi';
const TYPES = new Set(['integer', 'number', 'string', 'boolean', 'array', 'object']);

// The rows of `webcgi --endpoints`: path, table, handler, summary (and
// whatever columns follow).
function catalogue() {
  const env = { ...process.env };
  delete env.REQUEST_METHOD;
  const out = execFileSync(program, ['--endpoints'], { env, encoding: 'utf8' });
  return out.split('\n').filter(Boolean).map((line) => {
    const [p, table, handler, summary] = line.split('\t');
    return { path: p, table, handler, summary };
  });
}

// Every "type" of a schema and of the schemas inside it.
function* schemaTypes(schema) {
  if (!schema || typeof schema !== 'object') return;
  const types = Array.isArray(schema.type) ? schema.type : schema.type ? [schema.type] : [];
  yield* types;
  for (const inner of Object.values(schema.properties || {})) yield* schemaTypes(inner);
  if (schema.items) yield* schemaTypes(schema.items);
  for (const inner of schema.prefixItems || []) yield* schemaTypes(inner);
}

function* operationSchemas(op) {
  for (const media of Object.values(op.requestBody?.content || {})) yield media.schema;
  for (const response of Object.values(op.responses || {})) {
    for (const media of Object.values(response.content || {})) yield media.schema;
  }
}

// The JSON type of a value as a schema names it.
function typeOf(value) {
  if (Array.isArray(value)) return 'array';
  if (value === null) return 'null';
  if (Number.isInteger(value)) return 'integer';
  return typeof value === 'number' ? 'number' : typeof value;
}

// Where `value` has another type than `schema` asks for. An integer passes
// for a number, and a number for a text (json-c reads it as its digits);
// members the schema does not know pass.
function* mismatches(schema, value, where) {
  if (!schema || !schema.type) return;
  const actual = typeOf(value);
  const numeric = actual === 'integer' || actual === 'number';
  const ok = actual === schema.type || (schema.type === 'number' && actual === 'integer') ||
    (schema.type === 'string' && numeric);
  if (!ok) {
    yield `${where}: ${JSON.stringify(value)} is no ${schema.type}`;
    return;
  }
  if (actual === 'object') {
    for (const [key, inner] of Object.entries(value)) yield* mismatches(schema.properties?.[key], inner, `${where}.${key}`);
  } else if (actual === 'array') {
    // A fixed layout names its positions; elements past them are not read.
    const positions = schema.prefixItems || [];
    for (const [i, inner] of value.entries()) {
      yield* mismatches(positions.length ? positions[i] : schema.items, inner, `${where}[${i}]`);
    }
  }
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

async function main() {
  const rows = catalogue();
  // The validator dereferences the document it is given: keep our own copy.
  const doc = JSON.parse(require('node:fs').readFileSync(docFile, 'utf8'));

  await check('the document is valid OpenAPI 3.1', async () => {
    const api = await SwaggerParser.validate(docFile);
    assert.equal(api.openapi, '3.1.0');
  });

  await check('it holds exactly the registered paths, one operation each', () => {
    assert.deepEqual(Object.keys(doc.paths).sort(), rows.map((r) => PREFIX + r.path).sort());
    for (const [p, item] of Object.entries(doc.paths)) {
      assert.equal(Object.keys(item).length, 1, `${p}: ${Object.keys(item)}`);
    }
  });

  await check("each operation carries its row's summary, table and handler", () => {
    const named = new Set();
    for (const row of rows) {
      const [op] = Object.values(doc.paths[PREFIX + row.path]);
      // A handler's later paths are told apart by the path.
      const id = named.has(row.handler) ? `${row.handler}_${row.path.slice(1)}` : row.handler;
      named.add(row.handler);
      assert.equal(op.operationId, id, row.path);
      assert.deepEqual(op.tags, [row.table], row.path);
      assert.equal(op.summary, row.summary, row.path);
    }
    const ids = Object.values(doc.paths).map((item) => Object.values(item)[0].operationId);
    assert.equal(new Set(ids).size, ids.length, 'operation ids repeat');
  });

  await check('every operation answers something and says what the session needs', () => {
    const schemes = Object.keys(doc.components.securitySchemes);
    assert.deepEqual(doc.components.securitySchemes.sessionId, {
      ...doc.components.securitySchemes.sessionId, type: 'apiKey', in: 'cookie', name: 'sessionId',
    });
    for (const [p, item] of Object.entries(doc.paths)) {
      const [op] = Object.values(item);
      assert.ok(Object.keys(op.responses || {}).length > 0, `${p}: no response`);
      assert.ok(Array.isArray(op.security), `${p}: no security`);
      for (const requirement of op.security) {
        for (const name of Object.keys(requirement)) assert.ok(schemes.includes(name), `${p}: ${name}`);
      }
    }
    const [login] = Object.values(doc.paths[`${PREFIX}/1000`]);
    assert.deepEqual(login.security, [], 'the login needs no session');
  });

  await check('schemas name JSON types only', () => {
    for (const [p, item] of Object.entries(doc.paths)) {
      for (const schema of operationSchemas(Object.values(item)[0])) {
        for (const type of schemaTypes(schema)) assert.ok(TYPES.has(type), `${p}: type ${type}`);
      }
    }
  });

  await check('real handlers show what they read: members with their types, an upload its file part', () => {
    const body = (p) => Object.values(doc.paths[PREFIX + p])[0].requestBody?.content || {};
    const shares = body('/6201')['application/json']?.schema?.properties || {};
    assert.deepEqual([shares.num, shares.port, shares.vendor], [
      { type: 'integer' }, { type: 'array', items: { type: 'integer' } }, { type: 'array', items: { type: 'string' } },
    ]);
    const upload = body('/1008')['multipart/form-data']?.schema;
    assert.deepEqual(upload?.properties?.file, {
      type: 'string', format: 'binary', contentMediaType: 'application/octet-stream',
    });
  });

  await check("the console's example requests send the types the handlers read", () => {
    const examples = JSON.parse(require('node:fs').readFileSync(examplesFile, 'utf8'));
    const wrong = [];
    for (const [p, example] of Object.entries(examples)) {
      const item = doc.paths[PREFIX + p];
      if (!item || example.kind !== 'json') continue;
      const schema = Object.values(item)[0].requestBody?.content?.['application/json']?.schema;
      let body = example.body;
      if (typeof body === 'string') {
        // The console sends a text body as it is: a bare number is JSON too.
        try { body = JSON.parse(body); } catch { continue; }
      }
      for (const where of mismatches(schema, body, p)) wrong.push(where);
    }
    assert.deepEqual(wrong, []);
  });

  console.log(`${results.passed} passed, ${results.failed} failed`);
  process.exit(results.failed === 0 ? 0 : 1);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
