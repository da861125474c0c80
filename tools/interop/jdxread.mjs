// Reads JCAMP-DX files with jcampconverter and prints what it found, one item a line:
//   file <path>                   (before each file's items)
//   block <n> <DATA TYPE>
//   label <name>=<value>          (FIRSTX, LASTX, NPOINTS, XFACTOR, YFACTOR and the like)
//   spectrum <points> <firstX> <lastX> <x units>  (HZ of NMR turned to PPM by the reader)
//   <x> <y>                       (one line a point, numbers as the reader decoded them)
// Usage: node jdxread.mjs FILE...
import { readFileSync } from 'node:fs';
import { convert } from 'jcampconverter';

const out = [];
for (const path of process.argv.slice(2)) {
  out.push(`file ${path}`);
  const result = convert(readFileSync(path, 'latin1'), { keepRecordsRegExp: /.*/ });
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
}
process.stdout.write(out.join('\n') + '\n');
