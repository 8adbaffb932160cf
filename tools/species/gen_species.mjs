// Generates quillmar's shipped data files from pinned npm packages:
//   assets/pokemon.dat  493 lines "H,A,B,S,C,D,NAME", national order 1..493,
//                       the base stats of the 4th generation (@pkmn/dex, Dex.forGen(4)),
//                       the base form of species with forms, Japanese names
//                       (pokemon, all('ja')), CP932 (iconv-lite), CR LF line ends.
//   assets/default.txt  the first species' six base stats, one line.
// Usage (from this folder): npm ci && node gen_species.mjs [OUTPUT_DIR]
// OUTPUT_DIR defaults to the repository's assets/. The output is deterministic:
// running it again with the versions in package-lock.json gives identical bytes.
import {writeFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import {Dex} from '@pkmn/dex';
import pokemon from 'pokemon';
import iconv from 'iconv-lite';

const kSpeciesCount = 493;
const kMaxFoundNameBytes = 10;  // the lookup compares at most 10 typed bytes

const here = dirname(fileURLToPath(import.meta.url));
const outDir = process.argv[2] ?? join(here, '..', '..', 'assets');

function fail(message) {
  console.error(`gen_species: ${message}`);
  process.exit(1);
}

const dex = Dex.forGen(4);
const japaneseNames = pokemon.all('ja');
if (japaneseNames.length < kSpeciesCount) fail(`only ${japaneseNames.length} Japanese names`);

const rows = [];
for (let num = 1; num <= kSpeciesCount; ++num) {
  // The base form: the one entry of this national number without a forme name
  // (Deoxys Normal, Wormadam Plant, Rotom, Giratina Altered, Shaymin Land, Arceus Normal).
  const base = dex.species.all().filter(s => s.num === num && !s.forme);
  if (base.length !== 1) fail(`national number ${num}: ${base.length} base forms`);
  const {hp, atk, def, spe, spa, spd} = base[0].baseStats;
  const name = japaneseNames[num - 1];
  const bytes = iconv.encode(name, 'cp932');
  if (iconv.decode(bytes, 'cp932') !== name) fail(`${num} ${name}: not representable in CP932`);
  if (bytes.length > kMaxFoundNameBytes) fail(`${num} ${name}: ${bytes.length} bytes`);
  if (name.includes(',') || /\s/.test(name)) fail(`${num} ${name}: comma or blank in the name`);
  // Stat order H, A, B, S, C, D: Speed is the fourth number.
  rows.push({num, stats: [hp, atk, def, spe, spa, spd], name, bytes});
}

// Spot values that changed after the 4th generation, and names with unusual characters.
const spot = [
  [12, 'バタフリー', [60, 45, 50, 70, 80, 80]],
  [25, 'ピカチュウ', [35, 55, 30, 90, 50, 40]],
  [29, 'ニドラン♀', null],
  [32, 'ニドラン♂', null],
  [386, 'デオキシス', [50, 150, 50, 150, 150, 50]],
  [413, 'ミノマダム', [60, 59, 85, 36, 79, 105]],
  [474, 'ポリゴンＺ', [85, 80, 70, 90, 135, 75]],
  [479, 'ロトム', [50, 50, 77, 91, 95, 77]],
  [487, 'ギラティナ', [150, 100, 120, 90, 100, 120]],
  [492, 'シェイミ', [100, 100, 100, 100, 100, 100]],
  [493, 'アルセウス', [120, 120, 120, 120, 120, 120]],
];
for (const [num, name, stats] of spot) {
  const row = rows[num - 1];
  if (row.name !== name) fail(`${num}: name ${row.name}, expected ${name}`);
  if (stats && row.stats.join(',') !== stats.join(',')) fail(`${num}: stats ${row.stats}, expected ${stats}`);
}

const lines = rows.map(r => Buffer.concat([Buffer.from(`${r.stats.join(',')},`, 'ascii'), r.bytes, Buffer.from('\r\n')]));
writeFileSync(join(outDir, 'pokemon.dat'), Buffer.concat(lines));
writeFileSync(join(outDir, 'default.txt'), Buffer.from(`${rows[0].stats.join(',')}\r\n`, 'ascii'));
console.log(`gen_species: wrote ${rows.length} species to ${join(outDir, 'pokemon.dat')} and default.txt`);
