#!/usr/bin/env python3
"""Makes the package's help page and read-me from one Markdown source.

    build_help.py help.md PICTURES OUT_HTML OUT_TXT

help.html: one UTF-8 page, its pictures (PNG files in PICTURES, named in the source)
inlined as data URIs, no script and nothing outside the page. readme.txt: the same
words as plain text, wrapped for Notepad, UTF-8 with a byte-order mark and CR LF.
A paragraph marked {: .html-only } is left out of the read-me, {: .readme-only } out
of the page.
"""
import base64
import html
import struct
import sys
import unicodedata
import xml.etree.ElementTree as ET
from pathlib import Path

import markdown

WIDTH = 76  # columns of the read-me; a full-width character takes two
# An example with a line wider than this may scroll sideways in a page 320 px wide (a
# desktop browser zoomed to 400 %, the narrowest phones); the keyboard must reach it.
SCROLL_COLUMNS = 32

STYLE = """
:root { color-scheme: light dark; }
body { margin: 0 auto; max-width: 46rem; padding: 1rem 1.25rem 3rem;
  font-family: "Yu Gothic UI", "Meiryo UI", Meiryo, "MS UI Gothic", sans-serif;
  line-height: 1.75; color: #1b1b1b; background: #fff; overflow-wrap: anywhere; }
h1 { font-size: 1.6rem; line-height: 1.3; border-bottom: 3px solid #b22; padding-bottom: .3rem; }
h2 { font-size: 1.3rem; margin-top: 2.5rem; border-left: 6px solid #b22; padding-left: .5rem; }
h3 { font-size: 1.1rem; margin-top: 1.8rem; }
nav ol { padding-left: 1.5rem; }
img { display: block; max-width: 100%; height: auto; margin: 1rem 0 .3rem;
  border: 1px solid #aaa; }
pre { background: #f3f3f3; padding: .6rem .8rem; line-height: 1.45; overflow-x: auto;
  font-family: Consolas, "MS Gothic", monospace; }
table { border-collapse: collapse; margin: .5rem 0; }
th, td { border: 1px solid #bbb; padding: .25rem .5rem; text-align: left; vertical-align: top; }
th { background: #f3f3f3; }
@media (prefers-color-scheme: dark) {
  body { color: #e8e8e8; background: #1e1e1e; }
  pre, th { background: #2c2c2c; }
}
"""

# No line starts with these, and none ends with the opening ones.
NO_START = set("、。，．,.)]}）］｝」』〕〉》】・：；？！ー々ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ")
NO_END = set("([{（［｛「『〔〈《【")


def columns(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def pieces(text):
    """Splits text into what a line may break between: a run of ASCII other than
    spaces, a single space, or one other character."""
    out, word = [], ""
    for c in text:
        if c != " " and ord(c) < 0x80:
            word += c
            continue
        if word:
            out.append(word)
            word = ""
        out.append(c)
    if word:
        out.append(word)
    return out


def wrap(text, first, rest):
    """Lines of text, the first led by `first`, the others by `rest`."""
    lines, line = [], first
    lead = first
    for p in pieces(text):
        if p == " " and line == lead:
            continue
        fits = columns(line) + columns(p.rstrip()) <= WIDTH
        breakable = (line != lead and p[0] not in NO_START and line[-1] not in NO_END)
        if not fits and breakable and p != " ":
            lines.append(line.rstrip())
            line = lead = rest
        line += p
    lines.append(line.rstrip())
    return lines


def inline_text(element):
    """The element's text, images left out, line breaks joined."""
    parts = [element.text or ""]
    for child in element:
        if child.tag != "img":
            parts.append(inline_text(child))
        parts.append(child.tail or "")
    return "".join(parts).replace("\n", "")


def classes(element):
    return element.get("class", "").split()


def text_blocks(root):
    """The read-me's lines for each block of the page."""
    out = []

    def blank():
        if out and out[-1] != "":
            out.append("")

    for block in root:
        if "html-only" in classes(block):
            continue
        tag = block.tag
        if tag == "h1":
            rule = "━" * (WIDTH // 2)
            out += [rule, "  " + inline_text(block), rule, ""]
        elif tag == "h2":
            blank()
            out += ["", "■ " + inline_text(block), ""]
        elif tag == "h3":
            blank()
            out += ["◆ " + inline_text(block), ""]
        elif tag == "p":
            text = inline_text(block).strip()
            if text:
                out += wrap(text, "", "") + [""]
        elif tag in ("ul", "ol"):
            for n, item in enumerate(block.findall("li"), 1):
                mark = "  ・" if tag == "ul" else f"  {n}. "
                out += wrap(inline_text(item).strip(), mark, " " * columns(mark))
            out.append("")
        elif tag == "pre":
            code = "".join(block.itertext()).rstrip("\n")
            out += ["    " + line if line else "" for line in code.split("\n")] + [""]
        elif tag == "table":
            rows = [[inline_text(cell).strip() for cell in row] for row in block.iter("tr")]
            widths = [max(columns(r[i]) for r in rows) for i in range(len(rows[0]))]
            if 2 + sum(widths) + 2 * (len(widths) - 1) > WIDTH:
                # Too wide for columns: one item per row, the other cells under it.
                for row in rows[1:]:
                    out += wrap(row[0], "  ・", "    ")
                    for head, cell in zip(rows[0][1:], row[1:]):
                        out += wrap(f"{head}：{cell}", "    ", "      ")
                out.append("")
                continue
            for n, row in enumerate(rows):
                cells = [c + " " * (w - columns(c)) for c, w in zip(row, widths)]
                out.append(("  " + "  ".join(cells)).rstrip())
                if n == 0:
                    out.append("  " + "─" * ((sum(widths) + 2 * (len(widths) - 1)) // 2))
            out.append("")
        else:
            sys.exit(f"build_help: no read-me form for <{tag}>")
    while out and out[-1] == "":
        out.pop()
    return out


def name_examples(root):
    """Makes each example that may scroll sideways a named region that takes the
    keyboard's focus, so that it can be scrolled with the arrow keys. Its name is the
    paragraph that leads into it ("コマンドプロンプトの例："), or else its section's."""
    section, before = "", None
    for block in root:
        if block.tag == "h2":
            section = inline_text(block)
        code = "".join(block.itertext()).rstrip("\n") if block.tag == "pre" else ""
        if code and max(columns(line) for line in code.split("\n")) > SCROLL_COLUMNS:
            lead = inline_text(before).strip() if before is not None and before.tag == "p" else ""
            name = lead[:-1] if lead.endswith("：") else f"{section}の例"
            block.attrib.update({"tabindex": "0", "role": "region", "aria-label": name})
        before = block


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def page(root, pictures):
    for block in list(root):
        if "readme-only" in classes(block):
            root.remove(block)
        elif "html-only" in classes(block):
            del block.attrib["class"]
    for img in root.iter("img"):
        data = (pictures / img.get("src")).read_bytes()
        width, height = png_size(data)
        img.set("src", "data:image/png;base64," + base64.b64encode(data).decode("ascii"))
        img.set("width", str(width))
        img.set("height", str(height))
    title = inline_text(root.find("h1"))
    # A table of contents after the title, from the sections.
    nav = ET.Element("nav", {"aria-label": "目次"})
    ET.SubElement(nav, "h2", {"id": "contents"}).text = "目次"
    ol = ET.SubElement(nav, "ol")
    for h2 in root.findall("h2"):
        ET.SubElement(ET.SubElement(ol, "li"), "a", {"href": "#" + h2.get("id")}).text = \
            inline_text(h2)
    root.insert(list(root).index(root.find("h1")) + 1, nav)
    name_examples(root)
    # All of it is the page's main content, for the landmark keys of a screen reader.
    main = "".join(ET.tostring(block, encoding="unicode", method="html") for block in root)
    body = f"<main>\n{main}\n</main>"
    return ("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            f"<title>{html.escape(title)} ヘルプ</title>\n<style>{STYLE}</style>\n</head>\n"
            f"<body>\n{body}\n</body>\n</html>\n")


def parse(source):
    converter = markdown.Markdown(extensions=["attr_list", "tables"], output_format="xhtml")
    body = converter.convert(source)
    # The converter's HTML of this source is well-formed XML once wrapped.
    return ET.fromstring(f"<body>{body}</body>")


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    source = Path(argv[1]).read_text(encoding="utf-8")
    pictures = Path(argv[2])
    Path(argv[3]).write_text(page(parse(source), pictures), encoding="utf-8", newline="\n")
    readme = "\r\n".join(text_blocks(parse(source))) + "\r\n"
    Path(argv[4]).write_bytes(b"\xef\xbb\xbf" + readme.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
