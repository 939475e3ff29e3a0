#!/usr/bin/env python3
"""Checks what the reader left in a settings file.

settings_file.py complete FILE
    FILE is GB18030 text holding each key shutdown writes exactly once, in its
    own section. Prints the values as "key=value" lines.
settings_file.py between OLD NEW FILE
    FILE is OLD with the first k of the values that shutdown writes, in its
    order, taken from NEW (0 <= k <= 20): what a shutdown cut short leaves. A
    key OLD lacks comes in at the end of its section, a section OLD lacks at
    the end of the file. Prints the largest such
    k (values equal in OLD and NEW leave it open).
"""
import sys

# The order in which shutdown writes them.
KEYS = [("Config", "路径"), ("Config", "书"), ("Config", "章"), ("Config", "行"),
        ("字体", "字体"), ("字体", "字体大小"), ("字体", "文本颜色"), ("字体", "背景颜色"),
        ("Config", "书名"), ("Config", "章名"),
        ("排版", "行距"), ("排版", "段距"), ("排版", "左右页边距"), ("排版", "上下页边距"),
        ("排版", "首行缩进"), ("排版", "空行"), ("排版", "正文宽度"), ("排版", "两端对齐"),
        ("阅读", "自动滚动速度"), ("热键", "热键"), ("朗读", "语速"), ("朗读", "声音"),
        ("同步", "地址"), ("同步", "用户"), ("同步", "启用"), ("书库", "排序"),
        ("窗口", "左"), ("窗口", "上"), ("窗口", "宽"), ("窗口", "高"), ("窗口", "全屏"),
        ("窗口", "简洁模式"), ("窗口", "简洁左"), ("窗口", "简洁上"), ("窗口", "简洁宽"), ("窗口", "简洁高"),
        ("窗口", "置顶"), ("窗口", "透明度"), ("窗口", "背景透明"), ("窗口", "鼠标移出时隐藏")]


def parse(path):
    """The lines of the file as (section, key, value) with None for non-key lines."""
    with open(path, "rb") as f:
        raw = f.read()
    try:
        text = raw.decode("gb18030")
    except UnicodeDecodeError as error:
        sys.exit(f"{path}: not GB18030 text: {error}")
    entries, section = [], None
    for line in text.splitlines(keepends=True):
        body = line.rstrip("\r\n")
        if body.startswith("[") and "]" in body:
            section = body[1:body.index("]")]
            entries.append((line, None, None))
        elif "=" in body:
            key, value = body.split("=", 1)
            entries.append((line, (section, key), value))
        else:
            entries.append((line, None, None))
    return entries


def values(path):
    found = {}
    for _, place, value in parse(path):
        if place is None:
            continue
        if place in found:
            sys.exit(f"{path}: {place[0]}/{place[1]} appears twice")
        found[place] = value
    missing = [f"{s}/{k}" for s, k in KEYS if (s, k) not in found]
    if missing:
        sys.exit(f"{path}: missing {', '.join(missing)}")
    return found


def complete(path):
    found = values(path)
    for section, key in KEYS:
        print(f"{key}={found[(section, key)]}")


def written_lines(old_entries, new, written):
    """OLD's lines once the keys in `written` hold NEW's values."""
    lines = [[line, place] for line, place, _ in old_entries]
    for place in [p for p in KEYS if p in written]:
        present = [entry for entry in lines if entry[1] == place]
        if present:
            line = present[0][0]
            present[0][0] = f"{place[1]}={new[place]}{line[len(line.rstrip(chr(13) + chr(10))):]}"
            continue
        in_section = [i for i, (_, p) in enumerate(lines) if p is not None and p[0] == place[0]]
        if not in_section:
            lines.append([f"[{place[0]}]\r\n", None])
        lines.insert(in_section[-1] + 1 if in_section else len(lines), [f"{place[1]}={new[place]}\r\n", place])
    return "".join(line for line, _ in lines)


def between(old_path, new_path, path):
    new = values(new_path)
    old_entries = parse(old_path)
    with open(path, "rb") as f:
        actual = f.read()
    for k in reversed(range(len(KEYS) + 1)):
        if written_lines(old_entries, new, set(KEYS[:k])).encode("gb18030") == actual:
            print(k)
            return
    sys.exit(f"{path}: neither the old file nor any state a shutdown passes through")


def main():
    if sys.argv[1:2] == ["complete"] and len(sys.argv) == 3:
        complete(sys.argv[2])
    elif sys.argv[1:2] == ["between"] and len(sys.argv) == 5:
        between(*sys.argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
