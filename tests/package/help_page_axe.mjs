// Runs axe-core's WCAG 2.1 A and AA rules on the packed help page in Debian's Chromium,
// at each width given, and prints the violations found by impact:
//
//     node help_page_axe.mjs HELP.html WIDTH...
//
// A serious or critical violation, or any of the landmark rules below, is a fault: one
// "FAULT:" line each on standard error, and exit status 1. puppeteer-core drives the
// browser over a pipe; nothing is fetched.
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";

const require = createRequire(import.meta.url);
const AXE = readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");
const TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"];
const IMPACTS = ["critical", "serious", "moderate", "minor"];
const FAILING = new Set(["critical", "serious"]);
// Best practice beyond the tags, held too whatever their impact: one main landmark, and
// all content inside landmarks, so that a screen reader's landmark keys reach it.
const LANDMARKS = ["landmark-one-main", "region"];

const [page, ...widths] = process.argv.slice(2);
if (!page || widths.length === 0 || widths.some((w) => !/^\d+$/.test(w))) {
  console.error("usage: node help_page_axe.mjs HELP.html WIDTH...");
  process.exit(2);
}

const profile = mkdtempSync(join(tmpdir(), "help-axe-"));
// No background traffic: the machine's closed network refuses it, many times over.
const args = ["--disable-gpu", "--disable-quic", "--no-first-run",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              "--mute-audio"];
if (process.getuid?.() === 0) args.push("--no-sandbox");  // Chromium refuses root otherwise
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  headless: true, pipe: true, userDataDir: profile, args, timeout: 60000,
});
const faults = [];
try {
  const tab = await browser.newPage();
  for (const width of widths.map(Number)) {
    await tab.setViewport({ width, height: 800, deviceScaleFactor: 1, isMobile: width < 500 });
    await tab.goto(pathToFileURL(resolve(page)).href, { waitUntil: "load" });
    await tab.evaluate(AXE);
    const results = await tab.evaluate((tags, landmarks) => window.axe.run(document, {
      runOnly: { type: "tag", values: tags }, resultTypes: ["violations"],
      rules: Object.fromEntries(landmarks.map((r) => [r, { enabled: true }])),
    }), TAGS, LANDMARKS);
    if (results.passes.length + results.violations.length === 0) {
      faults.push(`at ${width} px: axe-core ran no rule`);
    }
    const counts = Object.fromEntries(IMPACTS.map((i) => [i, 0]));
    for (const v of results.violations) {
      counts[v.impact] += 1;
      if (FAILING.has(v.impact) || LANDMARKS.includes(v.id)) {
        const where = v.nodes.slice(0, 3).map((n) => n.target.join(" ")).join(", ");
        faults.push(`at ${width} px: ${v.impact} ${v.id} (${v.nodes.length} elements: ` +
                    `${where}): ${v.help}`);
      }
    }
    console.log(`axe-core at ${width} px: ` +
                IMPACTS.map((i) => `${i} ${counts[i]}`).join(", ") + " violations");
  }
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
for (const f of faults) console.error("FAULT:", f);
process.exitCode = faults.length ? 1 : 0;
