// Reads a JCAMP-DX file with jcampconverter and prints what it found, one item a line:
//   block <n> <DATA TYPE>
//   label <name>=<value>          (FIRSTX, LASTX, NPOINTS, XFACTOR, YFACTOR and the like)
//   spectrum <points> <firstX> <lastX> <x units>  (HZ of NMR turned to PPM by the reader)
//   <x> <y>                       (one line a point, numbers as the reader decoded them)
// Usage: node jdxread.mjs FILE
import { readFileSync } from 'node:fs';
import { convert } from 'jcampconverter';

const text = readFileSync(process.argv[2], 'latin1');
const result = convert(text, { keepRecordsRegExp: /.*/ });
const out = [];
result.flatten.forEach((entry, n) => {
  out.push(`block ${n} ${entry.dataType ?? ''}`);
  for (const [name, value] of Object.entries(entry.info ?? {})) {
    if (typeof value === 'number' || typeof value === 'string') out.push(`label ${name}=${String(value).split(/\r?\n/)[0]}`);
  }
  for (const spectrum of entry.spectra ?? []) {
    const { x, y } = spectrum.data;
    out.push(`spectrum ${x.length} ${spectrum.firstX} ${spectrum.lastX} ${spectrum.xUnits ?? ''}`);
    for (let i = 0; i < x.length; i++) out.push(`${x[i]} ${y[i]}`);
  }
});
process.stdout.write(out.join('\n') + '\n');
