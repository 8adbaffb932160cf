// Renders DIR/quillmar.svg into the PNG sizes of the hicolor icon theme,
// DIR/quillmar-SIZE.png. The PNGs are committed: building and packaging never
// need this. To render them again (node >= 18), from the source tree:
//   mkdir /tmp/resvg && cp packaging/linux/icons/render.mjs /tmp/resvg
//   (cd /tmp/resvg && npm install @resvg/resvg-js@2.6.2)
//   node /tmp/resvg/render.mjs "$PWD/packaging/linux/icons"
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { Resvg } from '@resvg/resvg-js';

const here = process.argv[2];
const svg = readFileSync(join(here, 'quillmar.svg'));
for (const size of [16, 24, 32, 48, 64, 128, 256]) {
  const png = new Resvg(svg, { fitTo: { mode: 'width', value: size } }).render().asPng();
  writeFileSync(join(here, `quillmar-${size}.png`), png);
}
