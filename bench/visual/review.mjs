// The review harness: makes pages with a given quillpage binary and measures
// them in headless Chromium; writes contact sheets for named documents.
// Started by bench/visual/run, which documents the options.
import { spawn } from "node:child_process";
import { createHash } from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import puppeteer from "puppeteer-core";

const kWindow = { width: 1000, height: 1400 };
const kConfigs = {
  off: { SetCt: 0, SetPW: 0, LGrid: 0, Prevw: 0, Encod: 0, AddSS: 0 },
  // Prevw stays 0: a harness must not open pages in the desktop's browser.
  on: { SetCt: 1, SetPW: 1, LGrid: 1, Prevw: 0, Encod: 1, AddSS: 1 },
  // every option but centring, to see the others when centring fails
  nocentre: { SetCt: 0, SetPW: 1, LGrid: 1, Prevw: 0, Encod: 1, AddSS: 1 },
};

function parseArgs(argv) {
  const o = { bin: "", out: "", cache: "", corpus: "", jobs: 2, configs: ["off", "on"], docs: [] };
  for (let i = 0; i < argv.length; ++i) {
    const a = argv[i];
    const value = () => argv[++i];
    if (a === "--bin") o.bin = path.resolve(value());
    else if (a === "--out") o.out = path.resolve(value());
    else if (a === "--cache") o.cache = path.resolve(value());
    else if (a === "--corpus") o.corpus = path.resolve(value());
    else if (a === "--jobs") o.jobs = Math.max(1, Number(value()));
    else if (a === "--config") o.configs = value().split(",");
    else if (a === "--doc-via-cache") o.docViaCache = true;
    else if (a === "--list") o.list = fs.readFileSync(value(), "utf8").split("\n").filter((l) => l.trim()).map((l) => path.resolve(l.trim()));
    else if (a === "--no-sheets") o.noSheets = true;
    else o.docs.push(path.resolve(a));
  }
  return o;
}

function run(cmd, args, { env, timeoutMs = 180000, cwd } = {}) {
  return new Promise((resolve) => {
    const child = spawn(cmd, args, { env: env ?? process.env, cwd, stdio: ["ignore", "pipe", "pipe"] });
    let stderr = "";
    child.stdout.on("data", () => {});
    child.stderr.on("data", (d) => (stderr += d));
    const timer = setTimeout(() => child.kill("SIGKILL"), timeoutMs);
    child.on("close", (code, signal) => {
      clearTimeout(timer);
      resolve({ code: signal ? `signal ${signal}` : code, stderr });
    });
    child.on("error", (e) => {
      clearTimeout(timer);
      resolve({ code: "spawn", stderr: String(e) });
    });
  });
}

// Things derived from the document alone (LibreOffice's conversion and print,
// pandoc's text) cost seconds and never change: they are kept under the cache
// folder, keyed by the document's contents.
class DocCache {
  constructor(root) {
    this.root = root;
  }
  dir(doc) {
    const hash = createHash("sha1").update(fs.readFileSync(doc)).digest("hex").slice(0, 12);
    const d = path.join(this.root, `${path.basename(doc).replace(/[^\w.-]/g, "_")}-${hash}`);
    fs.mkdirSync(d, { recursive: true });
    return d;
  }
  // One LibreOffice at a time: a second one on the same profile would hand
  // its job to the first and return before the file exists.
  soffice(doc, format, dir) {
    const profile = path.join(this.root, `lo-profile-${process.pid}`);
    const job = () => run("soffice", [`-env:UserInstallation=file://${profile}`, "--headless", "--norestore",
      "--convert-to", format, "--outdir", dir, doc], { timeoutMs: 240000 });
    this.queue = (this.queue ?? Promise.resolve()).then(job, job);
    return this.queue;
  }
  async docx(doc) {
    if (!doc.endsWith(".doc")) return doc;
    const d = this.dir(doc);
    const out = path.join(d, path.basename(doc, ".doc") + ".docx");
    if (!fs.existsSync(out) && !fs.existsSync(out + ".failed")) {
      await this.soffice(doc, "docx", d);
      if (!fs.existsSync(out)) fs.writeFileSync(out + ".failed", "");
    }
    return fs.existsSync(out) ? out : "";
  }
  async plain(doc) {
    const out = path.join(this.dir(doc), "plain.txt");
    if (!fs.existsSync(out)) {
      const docx = await this.docx(doc);
      const r = docx ? await run("pandoc", ["-f", "docx", "-t", "plain", "--wrap=none", docx, "-o", out]) : null;
      if (!r || r.code !== 0) fs.writeFileSync(out, "");
    }
    return fs.readFileSync(out, "utf8");
  }
  async printPngs(doc, maxPages) {
    const d = this.dir(doc);
    const pdf = path.join(d, path.basename(doc).replace(/\.[^.]*$/, "") + ".pdf");
    if (!fs.existsSync(pdf)) await this.soffice(doc, "pdf", d);
    if (!fs.existsSync(pdf)) return [];
    const prefix = path.join(d, "print");
    if (!fs.existsSync(prefix + "-done")) {
      await run("pdftoppm", ["-png", "-r", "60", "-l", String(maxPages), pdf, prefix]);
      fs.writeFileSync(prefix + "-done", "");
    }
    return fs.readdirSync(d).filter((f) => /^print-\d+\.png$/.test(f)).sort().map((f) => path.join(d, f));
  }
}

// Runs in the page. Floating objects (floated or positioned elements, the
// outermost of a nest) whose box covers text outside themselves: a float
// the text wraps round covers nothing, an object placed over the text does.
// Counts objects, not pixels: one covering line is as wrong as ten.
function floatOverlapsInPage() {
  const body = document.body;
  const floating = (el) => {
    const s = getComputedStyle(el);
    return s.float !== "none" || s.position === "absolute" || s.position === "fixed";
  };
  const objects = [...body.querySelectorAll("*")].filter((el) => {
    if (!floating(el)) return false;
    for (let up = el.parentElement; up && up !== body; up = up.parentElement) if (floating(up)) return false;
    const r = el.getBoundingClientRect();
    return r.width > 0 && r.height > 0;
  });
  // Every visible line of text once, as its boxes.
  const lines = [];
  const walker = document.createTreeWalker(body, NodeFilter.SHOW_TEXT);
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    if (!/[^\s\u00a0]/.test(n.data)) continue;
    const range = document.createRange();
    range.selectNodeContents(n);
    for (const r of range.getClientRects()) if (r.width > 0 && r.height > 0) lines.push({ node: n, r });
  }
  // A few px of contact (a border touching a line) is not covering.
  const kSlack = 3;
  const covering = objects.filter((el) => {
    const b = el.getBoundingClientRect();
    return lines.some(({ node, r }) => !el.contains(node) &&
      Math.min(b.right, r.right) - Math.max(b.left, r.left) > kSlack &&
      Math.min(b.bottom, r.bottom) - Math.max(b.top, r.top) > kSlack);
  });
  return { floats: objects.length, floatsOverText: covering.length };
}

// Runs in the page. Everything a reader would notice that can be counted.
function measureInPage() {
  const html = document.documentElement;
  const body = document.body;
  const result = {};
  result.overflow = Math.max(0, html.scrollWidth - html.clientWidth);
  // What reaches past the window's right edge first: a picture or a table
  // declared wider, a word too long to break, a paragraph indented into the
  // right margin, or something else (which the page itself should avoid).
  const declared = (el) => {
    const m = /^(\d+)(px)?$/.exec((el.getAttribute("width") || "").trim());
    return m ? Number(m[1]) : 0;
  };
  const past = [...body.querySelectorAll("*")].filter((el) => el.getBoundingClientRect().right > html.clientWidth + 1);
  const first = past.find((el) => ![...el.children].some((c) => past.includes(c))) ?? past[0];
  // text that runs out of its block moves no element's box: "other"
  result.overflowCause = result.overflow > 0 ? "other" : "";
  if (result.overflow > 0 && first) {
    const wide = past.find((el) => (el.tagName === "IMG" && el.getBoundingClientRect().width > html.clientWidth) ||
      (el.tagName === "TABLE" && declared(el) > html.clientWidth));
    if (wide) result.overflowCause = "wide picture/table";
    else if (/[^\s\u00a0]{60,}/.test(first.textContent)) result.overflowCause = "long word";
    else if (past.some((el) => parseFloat(getComputedStyle(el).marginRight) < 0)) result.overflowCause = "negative margin";
    else result.overflowCause = "other";
  }

  // Rules in the style blocks against the rules the parser kept.
  let written = 0;
  let parsed = 0;
  for (const style of document.querySelectorAll("style")) {
    const text = style.textContent.replace(/<!--|-->/g, "").replace(/\/\*[\s\S]*?\*\//g, "");
    let depth = 0;
    for (const c of text) {
      if (c === "{") ++depth;
      else if (c === "}" && depth > 0 && --depth === 0) ++written;
    }
    parsed += style.sheet ? style.sheet.cssRules.length : 0;
  }
  result.rulesWritten = written;
  result.rulesDropped = Math.max(0, written - parsed);

  // Paragraphs with text on which no author rule sets a vertical margin:
  // the browser's 1em above and below stays.
  const marginRules = [];
  for (const sheet of document.styleSheets) {
    let rules = [];
    try {
      rules = [...sheet.cssRules];
    } catch {
      continue;
    }
    for (const r of rules) {
      if (!r.style) continue;
      if (r.style.getPropertyValue("margin-top") !== "" || r.style.getPropertyValue("margin-bottom") !== "")
        marginRules.push(r.selectorText);
    }
  }
  const paragraphs = [...body.querySelectorAll("p")].filter((p) => p.textContent.trim() !== "");
  result.paragraphs = paragraphs.length;
  result.defaultMarginParagraphs = paragraphs.filter((p) =>
    p.style.marginTop === "" && p.style.marginBottom === "" && p.style.margin === "" &&
    !marginRules.some((s) => {
      try {
        return p.matches(s);
      } catch {
        return false;
      }
    })).length;

  const images = [...document.images];
  result.images = images.length;
  result.brokenImages = images.filter((i) => !i.complete || i.naturalWidth === 0).length;

  // Gaps between two visible characters of one text node: all blanks
  // non-breaking, or with an ordinary blank the browser may wrap at.
  let gaps = 0;
  let hardGaps = 0;
  const walker = document.createTreeWalker(body, NodeFilter.SHOW_TEXT);
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    for (const m of n.data.matchAll(/(?<=[^\s\u00a0])[ \u00a0]+(?=[^\s\u00a0])/g)) {
      ++gaps;
      if (!m[0].includes(" ")) ++hardGaps;
    }
  }
  result.gaps = gaps;
  result.hardGaps = hardGaps;
  result.height = html.scrollHeight;
  result.text = body.innerText;
  return result;
}

// Runs in the page. Elements whose text sits on a line box shorter than the
// text itself: the computed line height (a length, "normal" never counts)
// below the height of the text's own boxes, which is the content height of
// the font the browser chose (its ascent plus descent). Such lines overlap
// their neighbours or are cut at the top of the page.
function shortLineBoxes() {
  const seen = new Set();
  const examples = [];
  let count = 0;
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  const range = document.createRange();
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    const el = n.parentElement;
    if (!el || seen.has(el) || !/\S/.test(n.data)) continue;
    seen.add(el);
    const lineHeight = getComputedStyle(el).lineHeight;
    if (lineHeight === "normal") continue;
    range.selectNodeContents(n);
    const rects = [...range.getClientRects()].filter((r) => r.width > 0);
    if (rects.length === 0) continue;
    const content = Math.max(...rects.map((r) => r.height));
    if (parseFloat(lineHeight) + 0.5 < content) {
      ++count;
      if (examples.length < 3) examples.push(`${el.tagName}:${lineHeight}<${content.toFixed(1)}px`);
    }
  }
  return { shortLines: count, shortLineExamples: examples.join(" ") };
}

// Runs in the page. Links to a place in the page ("#name") that no
// <a name> or id answers: a table of contents whose entries go nowhere.
function brokenBookmarkLinks() {
  const names = new Set([...document.querySelectorAll("a[name]")].map((a) => a.getAttribute("name")));
  for (const el of document.querySelectorAll("[id]")) names.add(el.id);
  const links = [...document.querySelectorAll('a[href^="#"]')];
  const broken = links.filter((a) => !names.has(decodeURIComponent(a.getAttribute("href").slice(1))));
  return { bookmarkLinks: links.length, brokenBookmarkLinks: broken.length };
}

// Share of pandoc's words that the page shows, as bench/word_coverage.sh
// counts them: each word, folded, found in the page's folded text.
function wordCoverage(plain, shown) {
  const fold = (t) => t.normalize("NFKC").replace(/\u2010/g, "-").replace(/\s+/g, "").toLowerCase();
  const text = fold(shown);
  const words = plain.normalize("NFKC").replace(/\[\d+\]/g, " ").split(/\s+/)
    .map((w) => w.replace(/^[^\p{L}\p{N}]+|[^\p{L}\p{N}]+$/gu, "")).filter((w) => w);
  return { words: words.length, found: words.filter((w) => text.includes(fold(w))).length };
}

async function makePage(opts, cache, doc, config, dir) {
  const home = path.join(dir, "home");
  fs.rmSync(dir, { recursive: true, force: true });
  const iniDir = path.join(home, ".config/Vexor/Quillpg_Word");
  fs.mkdirSync(iniDir, { recursive: true });
  fs.mkdirSync(path.join(home, "Desktop"), { recursive: true });
  const ini = Object.entries(kConfigs[config]).map(([k, v]) => `${k}=${v}`).join("\r\n");
  fs.writeFileSync(path.join(iniDir, "Control.ini"), `[SYSTEM]\r\n${ini}\r\n`);
  const env = { ...process.env, HOME: home, XDG_CONFIG_HOME: path.join(home, ".config") };
  delete env.DISPLAY;
  delete env.WAYLAND_DISPLAY;
  let input = doc;
  if (opts.docViaCache && doc.endsWith(".doc")) {
    // LibreOffice's .docx of the document, as the run converts it, made once
    const converted = await cache.docx(doc);
    if (converted) {
      input = path.join(dir, path.basename(doc, ".doc") + ".docx");
      fs.copyFileSync(converted, input);
    }
  }
  const r = await run(opts.bin, [input], { env });
  const desk = path.join(home, "Desktop");
  const page = fs.readdirSync(desk).find((f) => f.endsWith(".htm"));
  return { page: page ? path.join(desk, page) : "", code: r.code, message: r.stderr.trim().split("\n").pop() };
}

async function measure(browser, file, shot) {
  const tab = await browser.newPage();
  try {
    await tab.setViewport(kWindow);
    await tab.goto("file://" + file, { waitUntil: "load", timeout: 60000 });
    const m = await tab.evaluate(measureInPage);
    Object.assign(m, await tab.evaluate(shortLineBoxes), await tab.evaluate(brokenBookmarkLinks),
      await tab.evaluate(floatOverlapsInPage));
    // The top of the page, as much as a contact sheet column shows (3,000 px
    // at 70%): a whole long page is beyond what ImageMagick accepts.
    const clip = { x: 0, y: 0, width: Math.min(kWindow.width + m.overflow, 2000), height: Math.min(m.height, 4300) };
    if (shot) await tab.screenshot({ path: shot, clip, captureBeyondViewport: true });
    return m;
  } finally {
    await tab.close();
  }
}

async function contactSheet(cache, doc, shots, out) {
  const prints = await cache.printPngs(doc, 4);
  const panels = [];
  const tmp = out + ".parts";
  fs.mkdirSync(tmp, { recursive: true });
  // Each column at most 700 px wide and 3,000 px high: enough to judge. The
  // screenshots keep one scale (a 1,000 px window is 700 px), so that what
  // overflows the window is cut at the column's right edge.
  const fit = async (inputs, name, label, scale) => {
    const target = path.join(tmp, name);
    if (inputs.length === 0) {
      await run("convert", ["-size", "700x200", "xc:white", "-gravity", "center", "-annotate", "0", "(none)", target]);
    } else {
      await run("convert", [...inputs, "-append", "-resize", scale, "-crop", "700x3000+0+0", "+repage",
        "-background", "white", "-extent", "700x", target]);
    }
    panels.push({ target, label });
  };
  await fit(shots.off ? [shots.off] : [], "a.png", "our page, options off", "70%");
  await fit(prints, "b.png", "LibreOffice print", "700x");
  const other = Object.keys(shots).filter((c) => c !== "off").pop();
  await fit(other ? [shots[other]] : [], "c.png", `our page, options ${other ?? "on"}`, "70%");
  const args = [];
  for (const p of panels) args.push("-label", p.label, p.target);
  await run("montage", [...args, "-tile", `${panels.length}x1`, "-geometry", "+8+8", "-gravity", "North", "-pointsize", "18",
    "-title", path.basename(doc), out]);
  fs.rmSync(tmp, { recursive: true, force: true });
}

async function pool(items, jobs, work) {
  let next = 0;
  const worker = async () => {
    while (next < items.length) {
      const i = next++;
      await work(items[i], i);
    }
  };
  await Promise.all(Array.from({ length: Math.min(jobs, items.length) }, worker));
}

const kColumns = ["doc", "config", "result", "overflow", "overflowCause", "rulesWritten", "rulesDropped",
  "paragraphs", "defaultMarginParagraphs", "gaps", "hardGaps", "images", "brokenImages", "words", "found",
  "shortLines", "shortLineExamples", "bookmarkLinks", "brokenBookmarkLinks", "floats", "floatsOverText"];

function summarize(rows, config) {
  const mine = rows.filter((r) => r.config === config);
  const pages = mine.filter((r) => r.result === "page");
  const count = (f) => pages.filter(f).length;
  const sum = (k) => pages.reduce((s, r) => s + Number(r[k] || 0), 0);
  const pct = (a, b) => (b ? ((100 * a) / b).toFixed(1) + "%" : "-");
  return [
    ["documents", mine.length],
    ["pages made", pages.length],
    ["pages overflowing at 1000 px", count((r) => r.overflow > 0)],
    ...["wide picture/table", "long word", "negative margin", "other"].map((cause) =>
      [`  from ${cause}`, count((r) => r.overflow > 0 && r.overflowCause === cause)]),
    ["pages with a dropped CSS rule", count((r) => r.rulesDropped > 0)],
    ["  rules dropped / written", `${sum("rulesDropped")} / ${sum("rulesWritten")}`],
    ["pages where most word gaps are &nbsp;", count((r) => r.gaps > 0 && 2 * r.hardGaps > r.gaps)],
    ["  gaps all-&nbsp; / all gaps", `${sum("hardGaps")} / ${sum("gaps")}`],
    ["pages with default-margin paragraphs", count((r) => r.defaultMarginParagraphs > 0)],
    ["  such paragraphs / all", `${sum("defaultMarginParagraphs")} / ${sum("paragraphs")}`],
    ["pages with a broken picture", count((r) => r.brokenImages > 0)],
    ["  broken pictures / all", `${sum("brokenImages")} / ${sum("images")}`],
    ["pages with a line box shorter than its text", count((r) => r.shortLines > 0)],
    ["  such elements, all pages", sum("shortLines")],
    ["pages with a link to a missing bookmark", count((r) => r.brokenBookmarkLinks > 0)],
    ["  such links / links within the page", `${sum("brokenBookmarkLinks")} / ${sum("bookmarkLinks")}`],
    ["pages with a float over text", count((r) => r.floatsOverText > 0)],
    ["  floats over text / all floats", `${sum("floatsOverText")} / ${sum("floats")}`],
    ["words shown / pandoc words", `${sum("found")} / ${sum("words")} (${pct(sum("found"), sum("words"))})`],
    ["pages showing < 98% of words", count((r) => r.words > 0 && r.found < 0.98 * r.words)],
  ];
}

async function main() {
  const opts = parseArgs(process.argv.slice(2));
  const cache = new DocCache(opts.cache);
  const sheets = opts.docs.length > 0 && !opts.noSheets;
  let docs = opts.docs;
  if (opts.list) docs = opts.list;
  else if (docs.length === 0) {
    const list = (sub, re) => fs.readdirSync(path.join(opts.corpus, sub)).filter((f) => re.test(f)).sort()
      .map((f) => path.join(opts.corpus, sub, f));
    docs = [...list("docx", /\.docx$/), ...list("doc", /\.doc$/)];
  }
  fs.mkdirSync(opts.out, { recursive: true });
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--allow-file-access-from-files"],
  });
  const rows = [];
  let done = 0;
  try {
    await pool(docs, opts.jobs, async (doc) => {
      const id = path.basename(doc).replace(/[^\w.-]/g, "_");
      const shots = {};
      const plain = await cache.plain(doc);
      for (const config of opts.configs) {
        const dir = path.join(opts.out, "pages", config, id);
        const row = { doc: path.relative(opts.corpus || "/", doc), config };
        const made = await makePage(opts, cache, doc, config, dir);
        if (!made.page) {
          row.result = `no page (${made.code}: ${made.message.replace(/\s+/g, " ").slice(0, 80)})`;
        } else {
          const shot = sheets ? path.join(dir, "shot.png") : "";
          try {
            const m = await measure(browser, made.page, shot);
            Object.assign(row, m, wordCoverage(plain, m.text), { result: "page" });
            fs.writeFileSync(path.join(dir, "shown.txt"), m.text);
            if (shot) shots[config] = shot;
          } catch (e) {
            row.result = `not measured (${String(e.message || e).slice(0, 80)})`;
          }
        }
        rows.push(row);
      }
      if (sheets) await contactSheet(cache, doc, shots, path.join(opts.out, `${id}.sheet.png`));
      if (++done % 25 === 0) process.stderr.write(`${done}/${docs.length}\n`);
    });
  } finally {
    await browser.close();
    fs.rmSync(path.join(opts.cache, `lo-profile-${process.pid}`), { recursive: true, force: true });
  }
  rows.sort((a, b) => (a.doc + a.config).localeCompare(b.doc + b.config));
  const tsv = [kColumns.join("\t"), ...rows.map((r) => kColumns.map((k) => r[k] ?? "").join("\t"))];
  fs.writeFileSync(path.join(opts.out, "metrics.tsv"), tsv.join("\n") + "\n");
  const tables = opts.configs.map((c) => summarize(rows, c));
  const width = Math.max(...tables[0].map(([k]) => k.length));
  console.log(`${"".padEnd(width)}  ${opts.configs.map((c) => `options ${c}`.padStart(26)).join("")}`);
  tables[0].forEach(([k], i) => {
    console.log(`${k.padEnd(width)}  ${tables.map((t) => String(t[i][1]).padStart(26)).join("")}`);
  });
  console.log(`\nper page: ${path.join(opts.out, "metrics.tsv")}`);
  if (sheets) console.log(`contact sheets: ${opts.out}/*.sheet.png`);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
