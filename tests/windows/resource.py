#!/usr/bin/env python3
"""Reads the version resource and the icon back from the Windows executable.

    resource.py EXE MAJOR.MINOR.PATCH VERSION_TEXT

The fixed file and product versions are MAJOR.MINOR.PATCH.0, the string table gives VERSION_TEXT
as file and product version and the product name, and the icon group holds 16 and 32 pixel
images.
"""
import struct
import sys

import pefile

PRODUCT = "Kelto Zelbo Break"


def main() -> int:
    exe, version, text = sys.argv[1], sys.argv[2], sys.argv[3]
    errors = []
    pe = pefile.PE(exe)
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
        errors.append("the executable is not a 64-bit x64 program")
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        errors.append("the executable is not a windowed program: it would open a console")

    major, minor, patch = (int(p) for p in version.split("."))
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if fixed is None:
        errors.append("no version resource")
    else:
        expected = ((major << 16) | minor, patch << 16)
        for name in ("File", "Product"):
            got = (getattr(fixed, f"{name}VersionMS"), getattr(fixed, f"{name}VersionLS"))
            if got != expected:
                errors.append(f"fixed {name.lower()} version {got[0] >> 16}.{got[0] & 0xffff}."
                              f"{got[1] >> 16}.{got[1] & 0xffff}, not {version}.0")
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for key, value in (("FileVersion", text), ("ProductVersion", text), ("ProductName", PRODUCT)):
        if strings.get(key) != value:
            errors.append(f"{key} is {strings.get(key)!r}, not {value!r}")

    # The icon group's directory: a count, then 14 bytes an image whose first is its width.
    sizes = []
    resources = {e.id: e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries}
    group_type = pefile.RESOURCE_TYPE["RT_GROUP_ICON"]
    if group_type not in resources:
        errors.append("no icon group")
    else:
        group = resources[group_type].directory.entries[0].directory.entries[0].data.struct
        data = pe.get_data(group.OffsetToData, group.Size)
        count = struct.unpack_from("<H", data, 4)[0]
        sizes = sorted(data[6 + 14 * i] or 256 for i in range(count))
        for size in (16, 32):
            if size not in sizes:
                errors.append(f"the icon has no {size} pixel image (has {sizes})")

    for error in errors:
        print("FAIL:", error)
    if errors:
        return 1
    print(f"{exe}: version {version}.0, \"{text}\", {PRODUCT}, icon of {sizes} pixels")
    return 0


if __name__ == "__main__":
    sys.exit(main())
