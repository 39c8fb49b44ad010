#!/usr/bin/python3
"""The user guide as one page that Windows opens with the default browser.

    guide_page.py GUIDE.md OUT.html

Converts the Markdown guide with Debian's python3-markdown (tables, fenced blocks), gives each
heading the anchor its table of contents links to (the heading's words, lower case, punctuation
dropped, spaces as hyphens, as the repository's own pages name them), and puts its pictures into
the page as data, so that the one file is the whole guide.
"""

import base64
import html
import os
import re
import sys

import markdown
from markdown.extensions.toc import TocExtension, slugify_unicode

STYLE = """
body { font-family: "Meiryo", "Yu Gothic", "MS PGothic", sans-serif; line-height: 1.6;
       max-width: 52em; margin: 2em auto; padding: 0 1em; color: #222; }
h1 { border-bottom: 2px solid #335; padding-bottom: .2em; }
h2 { border-bottom: 1px solid #99a; margin-top: 2em; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #99a; padding: .3em .6em; text-align: left; vertical-align: top; }
th { background: #e8ebf3; }
pre { background: #f4f4f4; border: 1px solid #ccc; padding: .6em; white-space: pre-wrap; }
code { font-family: "MS Gothic", monospace; }
img { max-width: 100%; border: 1px solid #ccc; }
@media print { body { max-width: none; } a { color: inherit; text-decoration: none; } }
"""


def inline_pictures(body, folder):
    """Replaces each <img src="relative.png"> by the picture's bytes as a data address."""

    def replace(match):
        source = html.unescape(match.group(2))
        path = os.path.join(folder, source)
        with open(path, "rb") as picture:
            data = base64.b64encode(picture.read()).decode("ascii")
        return '%s"data:image/png;base64,%s"' % (match.group(1), data)

    return re.sub(r'(<img[^>]*\ssrc=)"([^":]+\.png)"', replace, body)


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("usage: guide_page.py GUIDE.md OUT.html\n")
        return 2
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as guide:
        text = guide.read()
    title = text.splitlines()[0].lstrip("# ").strip()
    body = markdown.markdown(
        text,
        extensions=["tables", "fenced_code", TocExtension(slugify=slugify_unicode)],
        output_format="html5",
    )
    body = inline_pictures(body, os.path.dirname(os.path.abspath(source)))
    page = (
        '<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta charset="utf-8">\n'
        "<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n%s\n</body>\n</html>\n"
        % (html.escape(title), STYLE, body)
    )
    partial = target + ".part"
    with open(partial, "w", encoding="utf-8", newline="\n") as out:
        out.write(page)
    os.replace(partial, target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
