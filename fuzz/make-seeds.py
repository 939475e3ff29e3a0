#!/usr/bin/env python3
"""Writes the seed corpus of the fuzzers into fuzz/corpus/<target>/.

Each seed is laid out the way its fuzzer reads its input (FuzzedDataProvider:
strings from the front, ending at a backslash followed by another byte; small
numbers one byte each from the back, the last byte first).
"""
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"


def gbk(text):
    return text.encode("gbk")


def random_length_string(data):
    return data.replace(b"\\", b"\\\\") + b"\\;"


def ini_seed(file_text, writes):
    """writes: (section, key, value) triples, each taken as GBK bytes."""
    front = random_length_string(file_text)
    back = b""
    for triple in writes:
        for text in triple:
            front += random_length_string(text)
            back = b"\x00" + back  # this text comes from GB18030 bytes
    return front + back


ENCODINGS = ["gb18030", "big5", "utf-8", "utf-16-le", "utf-16-be"]


def decoder_seed(pieces, encoding="gb18030", half_piece=4, threads=2, part=11, length=0):
    """The split check's numbers come last: encoding, piece size (twice
    half_piece), threads, part size, length offset (0: none), cancelling (0:
    never), each one byte as FuzzedDataProvider reads it."""
    numbers = [ENCODINGS.index(encoding), half_piece - 1, threads - 1, part - 1, length, 0]
    return (b"".join(pieces) + bytes(reversed([len(piece) for piece in pieces]))
            + bytes(reversed(numbers)))


ALPHABET = "第章回卷节集部一二十百千万零〇两、\r\n \t\u3000a中，—"


def alphabet_seed(text):
    return b"\x01" + bytes(ALPHABET.index(c) for c in text)


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main():
    settings = gbk("[Config]\r\n路径=d:\\book\\\r\n书=3\r\n章=-1\r\n行=0\r\n"
                   "[字体]\r\n字体=宋体\r\n字体大小=12\r\n文本颜色=0\r\n背景颜色=16777215\r\n")
    write("fuzz_ini", "settings", ini_seed(settings, [
        (gbk("Config"), gbk("行"), b"120"),
        (gbk("字体"), gbk("字体"), gbk("黑体")),
        (gbk("新"), b"k", gbk("值")),
    ]))
    messy = b"\xef\xbb\xbf" + gbk("; 注释\n[config]\r\n  路径 =\t e:\\小说\\\r\n#书=9\n书=1\n\r\n[Other]\nx = y\r\n[字体]\r\n字体大小=9")
    write("fuzz_ini", "messy", ini_seed(messy, [
        (gbk("CONFIG"), gbk("路径"), gbk("f:\\书\\")),
        (gbk("字体"), gbk("字体"), gbk("楷体")),
    ]))

    book = gbk("示例小说\r\n\r\n第一章 山雨\r\n　　风从山口吹来。\r\n\r\n第二章 夜行\r\n　　他说：“走吧。”\r\n")
    write("fuzz_decoder", "book", decoder_seed([book[:7], book[7:8], book[8:30], book[30:31], book[31:]]))
    write("fuzz_decoder", "nul", decoder_seed([book[:5], b"\xb5\xda\xd5\x00\xc2", book[5:20]], half_piece=3))
    story = "示例小说\r\n第一章 山雨\r\n　　风从山口吹来。\r\n𠀀\r\n"
    for encoding, mark in (("utf-16-le", b"\xff\xfe"), ("utf-16-be", b"\xfe\xff"), ("utf-8", b"\xef\xbb\xbf")):
        text = mark + story.encode(encoding)
        write("fuzz_decoder", encoding, decoder_seed([text[:9], text[9:]], encoding, half_piece=5, threads=3))
    big5 = "書名\r\n第一章 山雨\r\n　　風從山口吹來。\r\n".encode("big5")
    write("fuzz_decoder", "big5", decoder_seed([big5[:3], big5[3:]], "big5", half_piece=2, part=1))

    chapters = gbk("书名\r\n\r\n　　第一章 开始\r\n正文，一、要点\r\n第十二回\n第一千二百三十四章 长\r\n统一、协调\r\n第一次见到这篇文章")
    write("fuzz_chapters", "book", b"\x00" + chapters)
    write("fuzz_chapters", "alphabet", alphabet_seed(
        " \r\n第一章 a\r\n中，二十、a\n第两千零一十万百章\r\n第中中中中中中中章\r\n一、\n　第十回"))


if __name__ == "__main__":
    main()
