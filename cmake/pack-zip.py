#!/usr/bin/env python3
"""Packs the release zip and its SHA-256 sum, the same bytes from every build of one commit.

Each member has the commit's time (as UTC, the zip's own time has no zone), a fixed Unix mode and
no extra fields: other zip writers add the file's change time, which no build can choose, and the
file's own mode follows the builder's umask.

    pack-zip.py ZIP SECONDS_SINCE_1970 FILE...
"""
import hashlib
import os
import stat
import sys
import time
import zipfile


def mode_of(path):
    """A regular file, rwxr-xr-x for a program and rw-r--r-- for anything else, whatever the file's
    own mode: what a builder with the usual umask 022 packed before, so those packages keep
    their bytes."""
    return stat.S_IFREG | (0o755 if path.lower().endswith(".exe") else 0o644)


def main(zip_path, seconds, files):
    date = time.gmtime(max(int(seconds), 315532800))[:6]  # the zip format starts at 1980
    os.makedirs(os.path.dirname(os.path.abspath(zip_path)), exist_ok=True)
    with zipfile.ZipFile(zip_path, "w") as archive:
        for path in files:
            member = zipfile.ZipInfo(os.path.basename(path), date)
            member.create_system = 3  # Unix, so that the mode below is read
            member.external_attr = mode_of(path) << 16
            member.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(member, source.read())
    with open(zip_path, "rb") as packed:
        digest = hashlib.sha256(packed.read()).hexdigest()
    with open(zip_path + ".sha256", "w") as sum_file:
        sum_file.write(f"{digest}  {os.path.basename(zip_path)}\n")


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
