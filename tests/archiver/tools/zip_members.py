#!/usr/bin/env python3
"""Prints one line per member of a ZIP archive, in central-directory order:
the raw name, a digest of the member's bytes from its local header up to the next member
(or the central directory), and a digest of its central record with the local-header offset
blanked. Then the archive comment and a digest of the bytes before the first member.
Reads with Python's zipfile (which finds where the archive starts), independently of Kibako.
"""
import hashlib
import struct
import sys
import zipfile


def blank_offset(record):
    record = bytearray(record)
    name_len, extra_len = struct.unpack_from("<HH", record, 28)
    if struct.unpack_from("<I", record, 42)[0] != 0xFFFFFFFF:
        record[42:46] = b"\0\0\0\0"
        return bytes(record)
    slot = 8 * (struct.unpack_from("<I", record, 24)[0] == 0xFFFFFFFF)
    slot += 8 * (struct.unpack_from("<I", record, 20)[0] == 0xFFFFFFFF)
    at, end = 46 + name_len, 46 + name_len + extra_len
    while at + 4 <= end:
        ident, size = struct.unpack_from("<HH", record, at)
        if ident == 1:
            record[at + 4 + slot:at + 12 + slot] = b"\0" * 8
            break
        at += 4 + size
    return bytes(record)


def main(path):
    data = open(path, "rb").read()
    archive = zipfile.ZipFile(path)
    infos = archive.infolist()
    start_dir = archive.start_dir
    offsets = sorted(info.header_offset for info in infos)
    ends = dict(zip(offsets, offsets[1:] + [start_dir]))
    at = start_dir
    first = offsets[0] if offsets else start_dir
    for info in infos:
        assert data[at:at + 4] == b"PK\1\2"
        n, m, k = struct.unpack_from("<HHH", data, at + 28)
        record = data[at:at + 46 + n + m + k]
        at += len(record)
        span = data[info.header_offset:ends[info.header_offset]]
        print("%s\t%s\t%s" % (record[46:46 + n].hex(), hashlib.sha256(span).hexdigest()[:16],
                              hashlib.sha256(blank_offset(record)).hexdigest()[:16]))
    print("comment\t%s" % archive.comment.hex())
    print("prefix\t%s" % hashlib.sha256(data[:first]).hexdigest()[:16])


main(sys.argv[1])
