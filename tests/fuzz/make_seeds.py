#!/usr/bin/env python3
"""Writes the seed inputs of fuzz_commands into tests/fuzz/corpus/.

Each seed is a readable event sequence encoded the way the target reads its
input through libFuzzer's FuzzedDataProvider: numbers are taken one byte at a
time from the end of the input, texts from its front (a backslash followed by
any other byte ends a text). Keep the event and value codes in step with
fuzz_commands.cpp; the fuzzer starts from these and mutates them.

    tests/fuzz/make_seeds.py          (rewrites the seed-* files)
"""
import pathlib

COMMANDS = 27  # registered commands, in the order the module registers them
CONTACTS = ["1000", "2001", "2002", "2003", "2004", "2005", "2006", "2007"]
KNOWN_FIELDS = [0, 1, 2, 3, 9, 10, 57, 58, 126, 127, 128, 162, 631, 632,
                633, 634, 635, 636, 637, 652, 653, 657, 673, 688, 703, 706, 707, 720]
TYPES = {2: 0, 4: 1, 5: 2, 6: 3, 32: 4}  # data type -> index in the target's table


class Seed:
    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order the target consumes them

    def byte(self, value):
        self.back.append(value & 0xFF)

    def int32(self, value):
        raw = (value + 2**31) & 0xFFFFFFFF
        for shift in (24, 16, 8, 0):
            self.byte(raw >> shift)

    def text(self, data):
        if isinstance(data, str):
            data = data.encode()
        self.front += data.replace(b"\\", b"\\\\") + b"\\\x00"

    def value(self, value):
        if value is None:
            self.byte(0)
        elif isinstance(value, bool):
            self.byte(8)
            self.byte(int(value))
        elif isinstance(value, int) and -1 <= value <= 6:
            self.byte(2)
            self.byte(value + 1)
        elif isinstance(value, int):
            self.byte(1)
            self.int32(value)
        elif isinstance(value, str) and value in CONTACTS:
            self.byte(3)
            self.byte(CONTACTS.index(value))
        elif isinstance(value, bytes):
            self.byte(6)
            self.text(value)
        else:
            self.byte(5)
            self.text(value)

    def args(self, args):
        self.byte(len(args))
        for data_type, field, value in args:
            self.byte(1)  # not an odd type
            self.byte(TYPES[data_type])
            self.byte(0)  # a known field
            self.byte(KNOWN_FIELDS.index(field))
            self.value(value)

    def command(self, index, args, application=0):
        self.byte(0)
        self.byte(index)
        self.args(args)
        self.byte(application)

    def unknown(self, a, b, args):
        self.byte(4)
        for number in (a, b):
            self.byte(number >> 8)
            self.byte(number)
        self.args(args)

    def answer(self, which, succeed=True, args=()):
        self.byte(5)
        self.byte(which)
        self.byte(int(succeed))
        if succeed:
            self.args(list(args))
            self.byte(0)

    def close(self, all_chats=True, which=0):
        self.byte(6)
        self.byte(int(all_chats))
        if not all_chats:
            self.byte(which)

    def process(self):
        self.byte(7)

    def open_chat(self, contact):
        self.byte(8)
        self.byte(CONTACTS.index(contact) - 1)

    def data(self):
        return bytes(self.front) + bytes(reversed(self.back))


def message_args(contact="2001", text="hello <b>there</b> :-) www.example.com"):
    return [(6, 9, contact), (32, 10, text.encode())]


def seeds():
    for index in range(COMMANDS):
        # Each command into an open chat, with no arguments, answered and
        # then again after the chat closed.
        seed = Seed()
        seed.open_chat("2001")
        seed.command(index, message_args())
        seed.command(index, [(6, 1, "2002"), (4, 126, 2), (32, 128, "a.png")])
        seed.command(index, [])
        seed.answer(0, True, [(6, 0, "2001")])
        seed.answer(1, False)
        seed.close(all_chats=False)
        seed.command(index, message_args("2002", "closed"))
        seed.process()
        yield f"seed-command-{index:02d}", seed.data()

    seed = Seed()  # multi and random chat ids, the other network
    seed.open_chat("2004")
    seed.command(5, [(6, 9, "2004"), (32, 10, b"x"), (4, 634, 7), (4, 706, 3), (6, 1, "2007")])
    seed.command(5, [(6, 9, "2003"), (32, 10, b"<img src=\"#1\">"), (4, 637, 1), (32, 0, b"\x89PNG\r\n\x1a\n")])
    seed.answer(0, True, [(4, 634, 9), (32, 632, "topic")])
    yield "seed-ids", seed.data()

    seed = Seed()  # commands nobody registered, values of every kind
    seed.unknown(4, 0xFFFF, [(6, 9, "2001"), (32, 10, None), (2, 0, True), (4, 1, -7)])
    seed.unknown(1, 0xF0A0, [(6, 0, "2001")])
    seed.command(0, [(6, 0, 123456789), (32, 0, "2001"), (2, 1, 6)])
    yield "seed-values", seed.data()


def main():
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    corpus.mkdir(exist_ok=True)
    for old in corpus.glob("seed-*"):
        old.unlink()
    for name, data in seeds():
        (corpus / name).write_bytes(data)


if __name__ == "__main__":
    main()
