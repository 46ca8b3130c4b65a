#!/usr/bin/env python3
"""Writes the license texts that ship with Qt for Windows into a folder.

    qt_notices.py QT_SOURCE DEST

DEST receives Qt's own license (LGPL-3.0 with the GPL-3.0 it builds on) and
THIRD-PARTY-NOTICES.txt: name, version, license, copyright and license text of each piece of
third-party code that Qt bundles and that the Windows build compiles in.
"""
import json
import pathlib
import shutil
import sys

# Attributions of code that the Windows build leaves out: other platforms, and the modules and
# features switched off when Qt is configured (network, D-Bus, OpenGL, Vulkan).
NOT_BUILT = {
    "src/3rdparty/android", "src/3rdparty/gradle", "src/3rdparty/wasm", "src/3rdparty/xcb",
    "src/3rdparty/forkfd", "src/3rdparty/libpsl", "src/3rdparty/VulkanMemoryAllocator",
    "src/plugins/platforms/cocoa", "src/network/kernel", "src/dbus", "src/gui/opengl",
    "src/gui/vulkan",
}


def as_list(value):
    if value is None:
        return []
    return value if isinstance(value, list) else [value]


def notice(folder: pathlib.Path, entry: dict) -> str:
    lines = [entry.get("Name", entry.get("Id", folder.name))]
    lines.append("=" * len(lines[0]))
    for key in ("Version", "Homepage", "License"):
        if entry.get(key):
            lines.append(f"{key}: {entry[key]}")
    copyright_text = "\n".join(as_list(entry.get("Copyright")))
    if entry.get("CopyrightFile"):
        copyright_text = (folder / entry["CopyrightFile"]).read_text(errors="replace").strip()
    if copyright_text:
        lines += ["", copyright_text]
    for name in as_list(entry.get("LicenseFile")) + as_list(entry.get("LicenseFiles")):
        path = folder / name
        if path.is_file():
            lines += ["", path.read_text(errors="replace").strip()]
    return "\n".join(lines)


def main() -> int:
    source, dest = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    dest.mkdir(parents=True, exist_ok=True)
    for name in ("LGPL-3.0-only.txt", "GPL-3.0-only.txt"):
        shutil.copyfile(source / "LICENSES" / name, dest / name)

    notices = []
    for path in sorted((source / "src").rglob("qt_attribution.json")):
        folder = path.parent
        if str(folder.relative_to(source)) in NOT_BUILT:
            continue
        for entry in as_list(json.loads(path.read_text(), strict=False)):
            notices.append(notice(folder, entry))
    if not notices:
        print(f"qt_notices: no attributions under {source}/src", file=sys.stderr)
        return 1
    header = ("Qt is used under the GNU Lesser General Public License version 3 "
              "(LGPL-3.0-only.txt, with GPL-3.0-only.txt). It bundles the following "
              "third-party code, used under the licenses below.\n\n")
    (dest / "THIRD-PARTY-NOTICES.txt").write_text(header + "\n\n\n".join(notices) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
