"""Chunk files for the end-to-end tests, built byte by byte."""

import struct


def chunk(kind, body):
    """A data chunk: type, length, body."""
    return struct.pack("<II", kind, len(body)) + body


def container(kind, *children):
    """A container chunk: its length word has the top bit set."""
    body = b"".join(children)
    return struct.pack("<II", kind, 0x80000000 | len(body)) + body


def sample(data_200=b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"):
    """Root level: a container 0x12 holding one 8-byte data chunk (so its label reads
    00000012h (00000010h)), a 40-byte data chunk 0x200, and a mini-chunk list 0x300."""
    return (container(0x12, chunk(0x100, b"ABCDEFGH"))
            + chunk(0x200, data_200)
            + chunk(0x300, bytes([0x01, 0x02, 0x41, 0x42, 0x0A, 0x01, 0x7A])))
