#!/usr/bin/env python3
"""Writes a small library of generated GBK novels with CR LF line ends.

make_library.py FOLDER [--big MEGABYTES [--paragraphs N]]
Books a.txt, b.txt, c.txt have 8 chapters of 60 long paragraphs each; with
--big, big.txt of roughly that size is added, its chapters of 400 paragraphs
each or of N (more chapters in the same size).
"""
import os
import sys

WORDS = "春夏秋冬山水风雨花月江湖人家书剑云雪天地日夜心意"


def paragraph(book, chapter, n):
    body = "".join(WORDS[(chapter * 7 + n * 3 + i) % len(WORDS)] for i in range(60))
    return f"\u3000\u3000{book}书{chapter}之{n}段，{body}。"


def chapter_text(book, chapter, paragraphs=60):
    lines = [f"第{chapter}章 {book}之{chapter}"]
    lines += [paragraph(book, chapter, n) for n in range(paragraphs)]
    return "\r\n".join(lines) + "\r\n"


def write(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("gb18030"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for book in "abc":
        text = f"{book}书\r\n" + "".join(chapter_text(book, c) for c in range(1, 9))
        write(os.path.join(folder, f"{book}.txt"), text)
    if "--big" in sys.argv:
        megabytes = int(sys.argv[sys.argv.index("--big") + 1])
        paragraphs = int(sys.argv[sys.argv.index("--paragraphs") + 1]) if "--paragraphs" in sys.argv else 400
        one = chapter_text("big", 1, paragraphs).encode("gb18030")
        with open(os.path.join(folder, "big.txt"), "wb") as f:
            f.write("big书\r\n".encode("gb18030"))
            for c in range(1, megabytes * 1024 * 1024 // len(one) + 2):
                f.write(chapter_text("big", c, paragraphs).encode("gb18030"))


if __name__ == "__main__":
    main()
