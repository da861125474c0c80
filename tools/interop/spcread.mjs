// Reads Galactic SPC files with spc-parser and prints what it found, one item a line:
//   file <path>                   (before each file's items)
//   header <key>=<value>          (the main header's numbers and texts)
//   spectrum <points> <x units>|<y units>
//   <x> <y>                       (one line a point, as the reader decoded them)
// Usage: node spcread.mjs FILE...
import { readFileSync } from 'node:fs';
import { parse } from 'spc-parser';

const out = [];
for (const path of process.argv.slice(2)) {
  out.push(`file ${path}`);
  const result = parse(readFileSync(path));
  for (const [key, value] of Object.entries(result.meta ?? {})) {
    if (typeof value === 'number' || typeof value === 'string') out.push(`header ${key}=${String(value).split(/\r?\n/)[0]}`);
  }
  for (const spectrum of result.spectra ?? []) {
    const { x, y } = spectrum.variables;
    out.push(`spectrum ${x.data.length} ${x.units ?? ''}|${y.units ?? ''}`);
    for (let i = 0; i < x.data.length; i++) out.push(`${x.data[i]} ${y.data[i]}`);
  }
}
process.stdout.write(out.join('\n') + '\n');
