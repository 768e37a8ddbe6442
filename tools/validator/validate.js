// Validates every .gltf file below the folder given on the command line with
// the Khronos glTF validator. Exits with 1 when any file has an error (or when
// there is no file at all), printing each error with its pointer.
'use strict';
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

function findModels(dir) {
  let found = [];
  for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
    const full = path.join(dir, entry.name);
    if (entry.isDirectory()) found = found.concat(findModels(full));
    else if (entry.name.endsWith('.gltf')) found.push(full);
  }
  return found.sort();
}

async function main() {
  const root = process.argv[2];
  if (!root) { console.error('usage: node validate.js ASSET_FOLDER'); process.exit(2); }
  const files = findModels(root);
  if (files.length === 0) { console.error('no .gltf file below ' + root); process.exit(1); }
  let failed = 0;
  for (const file of files) {
    const bytes = new Uint8Array(fs.readFileSync(file));
    const report = await validator.validateBytes(bytes, {
      uri: path.basename(file),
      maxIssues: 50,
      externalResourceFunction: (uri) => new Promise((resolve, reject) => {
        const resource = path.join(path.dirname(file), decodeURIComponent(uri));
        fs.readFile(resource, (err, data) => err ? reject(err.toString()) : resolve(new Uint8Array(data)));
      }),
    });
    const issues = report.issues;
    const rel = path.relative(root, file);
    console.log(`${rel}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos`);
    for (const m of issues.messages) {
      if (m.severity <= 1) console.log(`  [${m.severity === 0 ? 'error' : 'warning'}] ${m.code} ${m.pointer || ''}: ${m.message}`);
    }
    if (issues.numErrors > 0) failed++;
  }
  console.log(`${files.length} files, ${failed} with errors`);
  process.exit(failed > 0 ? 1 : 0);
}

main().catch((e) => { console.error(e); process.exit(1); });
