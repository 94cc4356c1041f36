#!/usr/bin/env python3
"""Checks the Windows plug-in module as the host will meet it, reading it as a PE file.

    check_aex.py TetherlineStyles.aex TetherlineStyles.pipl

The module must be a 64-bit (AMD64) DLL that exports exactly EffectMain and
PluginDataEntryFunction, imports from system DLLs only (so it loads with no runtime
DLL beside it) and takes SendInput from USER32, and carries exactly one resource of
type "PIPL", identifier 16000, language 1033 (US English), holding byte for byte the
property list that tl-pipl-gen writes for Windows (the .pipl file).

Prints one line per check and exits 0 when all pass, 1 when any fails, 2 when a file
cannot be read. Needs pefile (Debian: python3-pefile).
"""

import re
import sys

try:
    import pefile
except ImportError:  # pragma: no cover - depends on the machine
    sys.stderr.write("check_aex: the pefile module is missing (apt-get install python3-pefile)\n")
    sys.exit(2)

EXPORTS = {"EffectMain", "PluginDataEntryFunction"}
# DLLs every Windows installation has: the kernel, the window manager (SendInput) and the C
# runtime in its old (msvcrt) and universal (ucrtbase and its api-set forwarders) forms.
SYSTEM_DLLS = re.compile(r"^(kernel32|user32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$")
RESOURCE_TYPE = "PIPL"
RESOURCE_ID = 16000
RESOURCE_LANGUAGE = 1033


class Checks:
    def __init__(self):
        self.failed = 0

    def check(self, ok, what, detail=""):
        print(("ok      " if ok else "FAILED  ") + what + (": " + detail if detail else ""))
        if not ok:
            self.failed += 1
        return ok


def name_of(entry):
    """A resource directory entry's name, or its number."""
    return str(entry.name) if entry.name is not None else entry.id


def check_header(pe, checks):
    machine = pe.FILE_HEADER.Machine
    checks.check(machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"],
                 "machine type is AMD64", hex(machine))
    checks.check(pe.OPTIONAL_HEADER.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS,
                 "64-bit image (PE32+)", hex(pe.OPTIONAL_HEADER.Magic))
    checks.check(pe.is_dll(), "the image is a DLL")


def check_exports(pe, checks):
    symbols = getattr(pe, "DIRECTORY_ENTRY_EXPORT", None)
    names = []
    unnamed = 0
    if symbols is not None:
        for symbol in symbols.symbols:
            if symbol.name is None:
                unnamed += 1
            else:
                names.append(symbol.name.decode("ascii", "replace"))
    checks.check(sorted(names) == sorted(EXPORTS) and unnamed == 0,
                 "exports exactly " + " and ".join(sorted(EXPORTS)),
                 ", ".join(sorted(names)) + (" and %d by ordinal only" % unnamed if unnamed else ""))


def check_imports(pe, checks):
    imports = getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
    dlls = [entry.dll.decode("ascii", "replace") for entry in imports]
    foreign = [dll for dll in dlls if not SYSTEM_DLLS.match(dll.lower())]
    checks.check(not foreign, "imports from system DLLs only",
                 ", ".join(dlls) + ("; not system: " + ", ".join(foreign) if foreign else ""))
    user32 = [entry for entry in imports if entry.dll.decode("ascii", "replace").lower() == "user32.dll"]
    functions = {imp.name.decode("ascii", "replace") for entry in user32 for imp in entry.imports
                 if imp.name is not None}
    checks.check("SendInput" in functions, "key presses go through SendInput (USER32)",
                 ", ".join(sorted(functions)) or "USER32 not imported")


def check_resource(pe, pipl, checks):
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    if not checks.check(root is not None, "the image has resources"):
        return
    found = []  # (type, id, language, bytes) of every resource
    for type_entry in root.entries:
        for id_entry in type_entry.directory.entries:
            for lang_entry in id_entry.directory.entries:
                data = lang_entry.data.struct
                found.append((name_of(type_entry), name_of(id_entry), lang_entry.id,
                              pe.get_data(data.OffsetToData, data.Size)))
    pipls = [r for r in found if r[0] == RESOURCE_TYPE]
    listing = ", ".join("%s %s language %s (%d bytes)" % (t, i, l, len(b)) for t, i, l, b in found)
    if not checks.check(len(pipls) == 1, 'exactly one resource of type "%s"' % RESOURCE_TYPE,
                        listing or "none"):
        return
    _, ident, language, data = pipls[0]
    checks.check(ident == RESOURCE_ID, "its identifier is %d" % RESOURCE_ID, str(ident))
    checks.check(language == RESOURCE_LANGUAGE, "its language is %d" % RESOURCE_LANGUAGE,
                 str(language))
    same = data == pipl
    detail = "%d bytes" % len(data)
    if not same:
        at = next((k for k in range(min(len(data), len(pipl))) if data[k] != pipl[k]),
                  min(len(data), len(pipl)))
        detail += " against %d, first difference at byte %d" % (len(pipl), at)
    checks.check(same, "its bytes are the property list tl-pipl-gen writes for Windows", detail)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: check_aex.py MODULE.aex RESOURCE.pipl\n")
        return 2
    aex_path, pipl_path = argv[1], argv[2]
    try:
        with open(pipl_path, "rb") as f:
            pipl = f.read()
        pe = pefile.PE(aex_path)
    except (OSError, pefile.PEFormatError) as error:
        sys.stderr.write("check_aex: %s\n" % error)
        return 2

    print("check_aex: " + aex_path)
    checks = Checks()
    check_header(pe, checks)
    check_exports(pe, checks)
    check_imports(pe, checks)
    check_resource(pe, pipl, checks)
    if checks.failed:
        print("check_aex: %d check(s) FAILED" % checks.failed)
        return 1
    print("check_aex: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
