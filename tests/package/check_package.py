#!/usr/bin/env python3
"""Checks the release package, or the sound cues alone.

    check_package.py PACKAGE.zip   the package: names, sizes, executables, cues, help, read-me
    check_package.py --sounds      the cue script: same bytes twice, every cue sound

Exits non-zero with every fault listed.
"""
import base64
import io
import re
import struct
import subprocess
import sys
import tempfile
import wave
import xml.etree.ElementTree as ElementTree
import zipfile
from array import array
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
# The version as the package script reads it; no bytecode left in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, str(ROOT / "scripts/package"))
from version import version  # noqa: E402
MAX_EXE_BYTES = 400 * 1024

# Longest allowed length of each cue, in seconds.
CUES = {"pi.wav": 0.2, "chop.wav": 0.3, "kaeru.wav": 1.0, "fan.wav": 3.0, "fin.wav": 2.5}
# Quiet enough to press keys to, and not silent.
MAX_PEAK = 0.5
MIN_RMS = 0.01

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll",
               "shell32.dll", "winmm.dll", "msimg32.dll", "imm32.dll", "advapi32.dll",
               "ole32.dll", "msvcrt.dll", "dwmapi.dll"}
# What the read-me must tell a new user: extract the whole zip first, how to go on past
# the warning for an unsigned download (or unblock the zip), and the names used.
README_WORDS = ("展開", "詳細情報", "実行", "許可する", "help.html", "nenga-check", "2026.txt")
# The help page's pictures, each of the real program.
HELP_PICTURES = 4
# What the help page and the read-me say of the Windows the programs start on, by the
# executables' machine type (the PE header's Machine field): x86-64 runs on 64-bit
# Windows and, emulated, on Windows 11 on Arm; x86 on every Windows 7 to 11, emulated
# on Arm.
WHERE_IT_RUNS = {
    0x8664: "64 ビット版の Windows 7 から 11 で動きます（Arm 版の Windows 11 でも、エミュレーションで"
            "動きます）。32 ビット版の Windows と Arm 版の Windows 10 では動きません。",
    0x014C: "32 ビット版と 64 ビット版の Windows 7 から 11 で動きます（Arm 版の Windows 10 と 11 でも、"
            "エミュレーションで動きます）。",
}

# The system DLLs that nenga.exe loads late, at the first command that needs each: the
# file dialog, the editor and the help page (shell32, with ole32 for its apartment), the
# sound cues; and the taskbar's pictures of the windows, once they are up.
LATE_DLLS = {"comdlg32.dll", "dwmapi.dll", "ole32.dll", "shell32.dll", "winmm.dll"}

# Windows 7's own DLLs, of those a program like this may import: nothing newer (shcore.dll
# came with 8.1) and none of the API sets (api-ms-win-*), which Windows 7 lacks or has
# only in part.
WINDOWS7_DLLS = SYSTEM_DLLS | {
    "bcrypt.dll", "crypt32.dll", "d2d1.dll", "dwrite.dll", "gdiplus.dll", "ntdll.dll",
    "oleaut32.dll", "propsys.dll", "psapi.dll", "rpcrt4.dll", "secur32.dll", "setupapi.dll",
    "shlwapi.dll", "userenv.dll", "uxtheme.dll", "version.dll", "windowscodecs.dll", "ws2_32.dll"}
# Functions that came after Windows 7, by the Windows that brought them. An import of one
# keeps the program from starting on Windows 7, so where the program uses one it looks it
# up at run time.
LATER_FUNCTIONS = {
    **dict.fromkeys(("GetDpiForWindow", "GetDpiForSystem", "GetSystemMetricsForDpi",
                     "AdjustWindowRectExForDpi", "SystemParametersInfoForDpi",
                     "EnableNonClientDpiScaling", "SetThreadDpiAwarenessContext",
                     "GetThreadDpiAwarenessContext", "GetWindowDpiAwarenessContext",
                     "GetAwarenessFromDpiAwarenessContext", "AreDpiAwarenessContextsEqual",
                     "IsValidDpiAwarenessContext", "SetThreadDescription"), "10 (1607)"),
    **dict.fromkeys(("SetProcessDpiAwarenessContext", "OpenThemeDataForDpi",
                     "SetDialogDpiChangeBehavior", "SetDialogControlDpiChangeBehavior"),
                    "10 (1703)"),
    **dict.fromkeys(("GetSystemDpiForProcess", "GetDpiFromDpiAwarenessContext",
                     "SetThreadDpiHostingBehavior"), "10 (1803)"),
    **dict.fromkeys(("GetDpiForMonitor", "SetProcessDpiAwareness", "GetProcessDpiAwareness",
                     "LogicalToPhysicalPointForPerMonitorDPI",
                     "PhysicalToLogicalPointForPerMonitorDPI"), "8.1"),
    **dict.fromkeys(("GetScaleFactorForMonitor", "GetSystemTimePreciseAsFileTime", "CreateFile2",
                     "GetCurrentThreadStackLimits"), "8"),
    **dict.fromkeys(("SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory"),
                    "8 (on 7 only with an update)"),
}
# nenga.exe's manifest: per-monitor aware (version 2 where Windows 10 has it), each setting
# in its namespace inside <application><windowsSettings>.
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
MANIFEST_SETTINGS = {
    "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware": "true/pm",
    "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness":
        "PerMonitorV2, PerMonitor",
}
# The sizes of nenga.exe's icon: 100 % to 200 % (16 to 64) and Explorer's largest view (256,
# a PNG of 32-bit RGBA, the one kind Windows reads there; the others DIBs).
ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24

# PE flags that must stay set: addresses moved at every start (with 64-bit entropy) and
# no code run from data.
DLL_CHARACTERISTICS = {0x20: "HIGH_ENTROPY_VA", 0x40: "DYNAMIC_BASE", 0x100: "NX_COMPAT"}
# What GCC's stack-protector routine says before it ends the program; only a function
# built with -fstack-protector brings the routine into the link.
STACK_SMASHING = b"*** stack smashing detected ***"
# Far fewer calls to it than the programs have functions with a local array would mean
# that part of them was built without the canary.
MIN_GUARDED_CALLS = 20

faults = []


def fault(text):
    faults.append(text)


def check_wave(name, data):
    try:
        with wave.open(io.BytesIO(data)) as w:
            channels, width, rate, count = (w.getnchannels(), w.getsampwidth(),
                                            w.getframerate(), w.getnframes())
            frames = w.readframes(count)
    except (wave.Error, EOFError) as e:
        return fault(f"{name}: not a PCM wave file ({e})")
    if width != 2 or channels != 1:
        return fault(f"{name}: {width * 8}-bit, {channels} channels; want 16-bit mono")
    seconds = count / rate
    if not 0 < seconds <= CUES[name]:
        fault(f"{name}: {seconds:.3f} s long, at most {CUES[name]} s")
    pcm = array("h", frames)
    if sys.byteorder == "big":
        pcm.byteswap()
    if not pcm:
        return fault(f"{name}: no samples")
    peak = max(abs(s) for s in pcm) / 32768
    rms = (sum(s * s for s in pcm) / len(pcm)) ** 0.5 / 32768
    if peak >= 32767 / 32768:
        fault(f"{name}: clips")
    if peak > MAX_PEAK:
        fault(f"{name}: peak {peak:.2f} of full scale, at most {MAX_PEAK}")
    if rms < MIN_RMS:
        fault(f"{name}: silent (RMS {rms:.4f})")


def make_sounds(folder):
    subprocess.run([sys.executable, "-B", str(ROOT / "resources/sounds/make_sounds.py"), str(folder)],
                   check=True)
    return {p.name: p.read_bytes() for p in Path(folder).iterdir()}


def check_sounds():
    with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
        first, second = make_sounds(a), make_sounds(b)
    if sorted(first) != sorted(CUES):
        fault(f"cue files {sorted(first)}, want {sorted(CUES)}")
    for name, data in first.items():
        if second.get(name) != data:
            fault(f"{name}: different bytes on a second run")
        if name in CUES:
            check_wave(name, data)


def imported_functions(exe):
    """What the executable imports: (loaded at start, loaded late), each a dictionary of the
    DLLs, lower case, to the set of the functions taken from each (an import by ordinal as
    "#N"), from its import table and its delay-load import descriptors."""
    def u16(at):
        return struct.unpack_from("<H", exe, at)[0]

    def u32(at):
        return struct.unpack_from("<I", exe, at)[0]

    pe = u32(0x3C)
    if exe[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    sections, optional_size = u16(pe + 6), u16(pe + 20)
    optional = pe + 24
    wide = u16(optional) == 0x20B  # PE32+: 8-byte thunks
    directories = optional + (112 if wide else 96)
    headers = [optional + optional_size + 40 * n for n in range(sections)]
    table = [struct.unpack_from("<4I", exe, at + 8) for at in headers]
    # Sections that stay in memory; not, for one, the debugging information.
    kept = [t for t, at in zip(table, headers) if not u32(at + 36) & 0x02000000]

    def offset(rva):
        for size, address, raw_size, raw in table:
            if address <= rva < address + min(size or raw_size, raw_size):
                return raw + rva - address
        return None

    def name(rva, longest=64):
        at = offset(rva)
        if at is None:
            return ""
        text = exe[at:exe.find(b"\0", at, at + longest)]
        return text.decode("ascii") if text.isascii() else ""

    def functions(rva):
        """The names of a table of thunks: 8 or 4 bytes each, to a zero one; the top bit
        set for an ordinal, else the address of a hint and a name."""
        found = set()
        at = offset(rva) if rva else None
        width, ordinal = (8, 1 << 63) if wide else (4, 1 << 31)
        while at is not None and at + width <= len(exe):
            thunk = int.from_bytes(exe[at:at + width], "little")
            if not thunk:
                break
            found.add(f"#{thunk & 0xFFFF}" if thunk & ordinal else name((thunk & 0x7FFFFFFF) + 2,
                                                                        256))
            at += width
        return found

    at_start = {}
    at = offset(u32(directories + 8))  # import table: 20-byte entries, name at 12
    while at is not None and any(exe[at:at + 20]):
        names, dll, addresses = u32(at), u32(at + 12), u32(at + 16)
        at_start.setdefault(name(dll).lower(), set()).update(functions(names or addresses))
        at += 20

    # Delay-load descriptors: 32 bytes, RVA-based (attributes 1), the DLL's name, its
    # handle, address and name tables, then three zeros. GNU ld leaves the directory
    # entry for them empty, so they are found by that shape wherever they lie.
    late = {}
    for size, address, raw_size, raw in kept:
        for at in range(raw, raw + min(size or raw_size, raw_size) - 31, 4):
            attributes, dll, handle, addresses, names, *rest = struct.unpack_from("<8I", exe, at)
            if (attributes == 1 and not any(rest) and name(dll).lower().endswith(".dll")
                    and None not in (offset(handle), offset(addresses), offset(names))):
                late.setdefault(name(dll).lower(), set()).update(functions(names))
    return at_start, late


def check_windows7_imports(name, at_start, late):
    """Nothing imported, at start or late, that Windows 7 lacks: a missing DLL or function
    keeps the program from starting, or ends it at the call."""
    for when, imports in (("at start", at_start), ("late", late)):
        for dll, functions in sorted(imports.items()):
            if dll not in WINDOWS7_DLLS:
                fault(f"{name}: imports {dll} ({when}), which Windows 7 does not have")
            for function in sorted(functions & LATER_FUNCTIONS.keys()):
                fault(f"{name}: imports {function} from {dll} ({when}), which came with "
                      f"Windows {LATER_FUNCTIONS[function]}; look it up at run time")


def pe_resources(exe):
    """The executable's resources, {(type, name): data}, of the first language of each;
    a type or name is a number or a string."""
    _, directories, sections = pe_sections(exe)
    rva = struct.unpack_from("<I", exe, directories + 2 * 8)[0]

    def offset(address_wanted):
        for _, size, address, raw_size, raw, _ in sections:
            if address <= address_wanted < address + min(size or raw_size, raw_size):
                return raw + address_wanted - address
        raise ValueError(f"resource address {address_wanted:#x} outside the sections")

    base = offset(rva) if rva else None
    if base is None:
        return {}

    def entries(directory):
        named, numbered = struct.unpack_from("<2H", exe, base + directory + 12)
        for n in range(named + numbered):
            key, target = struct.unpack_from("<2I", exe, base + directory + 16 + 8 * n)
            if key & 0x80000000:
                at = base + (key & 0x7FFFFFFF)
                length = struct.unpack_from("<H", exe, at)[0]
                key = exe[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield key, target & 0x7FFFFFFF

    found = {}
    for kind, names in entries(0):
        for key, languages in entries(names):
            for _, leaf in entries(languages):
                data, size = struct.unpack_from("<2I", exe, base + leaf)
                found.setdefault((kind, key), exe[offset(data):offset(data) + size])
    return found


def check_manifest(name, resources):
    """The manifest Windows reads at start (RT_MANIFEST 1) declares the program per-monitor
    aware, in the two settings of Windows 8.1 and of Windows 10."""
    manifest = resources.get((RT_MANIFEST, 1))
    if manifest is None:
        return fault(f"{name}: no manifest")
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as e:
        return fault(f"{name}: manifest unreadable ({e})")
    settings = root.findall(f"{ASM_V3}application/{ASM_V3}windowsSettings")
    for tag, want in MANIFEST_SETTINGS.items():
        said = [(e.text or "").strip() for s in settings for e in s.findall(tag)]
        if said != [want]:
            fault(f"{name}: manifest says {tag} {said}, want [{want!r}]")


def check_icon(name, resources):
    """The icon "MAINICON" holds each size once, its images as big as its directory says,
    the 256-pixel one a PNG and the others DIBs."""
    group = resources.get((RT_GROUP_ICON, "MAINICON"))
    if group is None:
        return fault(f"{name}: no icon MAINICON")
    count = struct.unpack_from("<H", group, 4)[0]
    sizes = []
    for n in range(count):
        width, height, _, _, _, _, _, image = struct.unpack_from("<4B2HIH", group, 6 + 14 * n)
        size = width or 256
        sizes.append(size)
        data = resources.get((RT_ICON, image), b"")
        png = data.startswith(PNG_SIGNATURE)
        if png and data[12:16] == b"IHDR":
            actual = struct.unpack_from(">2I", data, 16)
            if data[24:26] != b"\x08\x06":  # bit depth, colour type
                fault(f"{name}: icon image {image} is a PNG other than 32-bit RGBA")
        elif len(data) >= 40 and struct.unpack_from("<I", data)[0] == 40:
            actual = struct.unpack_from("<2i", data, 4)
            actual = (actual[0], actual[1] // 2)  # the colour image above its mask
        else:
            actual = None
        if (height or 256) != size or actual != (size, size):
            fault(f"{name}: icon image {image} is {actual}, its directory says {size}")
        if png != (size == 256):
            fault(f"{name}: icon image {size} is {'a PNG' if png else 'not a PNG'}; "
                  "only the 256-pixel one is")
    if sorted(sizes) != ICON_SIZES:
        fault(f"{name}: icon sizes {sorted(sizes)}, want {ICON_SIZES}")


def pe_sections(exe):
    """The offsets of the optional header and of its data directories, and the sections
    as (name, virtual size, address, raw size, raw offset, characteristics)."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    if exe[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    count = struct.unpack_from("<H", exe, pe + 6)[0]
    optional_size = struct.unpack_from("<H", exe, pe + 20)[0]
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", exe, optional)[0] == 0x20B else 96)
    sections = []
    for n in range(count):
        at = optional + optional_size + 40 * n
        name = exe[at:at + 8].rstrip(b"\0").decode("ascii", "replace")
        sections.append((name, *struct.unpack_from("<4I", exe, at + 8),
                         struct.unpack_from("<I", exe, at + 36)[0]))
    return optional, directories, sections


def check_hardening(name, exe):
    """What the stripped executable itself shows of its hardening: the PE flags, no
    section both writable and executable, and code built with the stack protector: the
    routine that ends the program on a smashed canary is there, found by its message
    through the unwind table, and many functions call it."""
    try:
        optional, directories, sections = pe_sections(exe)
    except (ValueError, struct.error) as e:
        return fault(f"{name}: PE headers unreadable ({e})")
    flags = struct.unpack_from("<H", exe, optional + 70)[0]
    missing = [flag for bit, flag in DLL_CHARACTERISTICS.items() if not flags & bit]
    if missing:
        fault(f"{name}: {', '.join(missing)} not set")
    # Without base relocations the loader cannot move the image, whatever the flag says.
    if not struct.unpack_from("<I", exe, directories + 5 * 8 + 4)[0]:
        fault(f"{name}: no base relocations, so it is never moved")
    for section, *_, characteristics in sections:
        if characteristics & 0x20000000 and characteristics & 0x80000000:
            fault(f"{name}: section {section} is both writable and executable")

    def rva(offset):
        for _, size, address, raw_size, raw, _ in sections:
            if raw <= offset < raw + min(size or raw_size, raw_size):
                return address + offset - raw
        return None

    message = exe.find(STACK_SMASHING)
    target = rva(message) if message >= 0 else None
    if target is None:
        return fault(f"{name}: no stack-protector routine; built without -fstack-protector")
    code = [(address, exe[raw:raw + min(size or raw_size, raw_size)])
            for _, size, address, raw_size, raw, characteristics in sections
            if characteristics & 0x20000000]
    # The routine loads its message with a RIP-relative LEA (REX.W 8D, ModRM 00 reg 101);
    # the unwind table (.pdata: begin, end, unwind data) gives the start of the function.
    lea = next((address + at for address, text in code
                for at in range(len(text) - 6)
                if text[at] in (0x48, 0x4C) and text[at + 1] == 0x8D
                and text[at + 2] & 0xC7 == 0x05
                and address + at + 7 + struct.unpack_from("<i", text, at + 3)[0] == target),
               None)
    pdata_rva, pdata_size = struct.unpack_from("<2I", exe, directories + 3 * 8)
    pdata = next((exe[raw + pdata_rva - address:raw + pdata_rva - address + pdata_size]
                  for _, size, address, raw_size, raw, _ in sections
                  if address <= pdata_rva < address + raw_size), b"")
    functions = struct.iter_unpack("<3I", pdata[:len(pdata) // 12 * 12])
    routine = next((begin for begin, end, _ in functions if lea is not None and begin <= lea < end),
                   None)
    if routine is None:
        return fault(f"{name}: the stack-protector routine's code not found")
    # Direct calls (E8 rel32) to the routine: one from each guarded function.
    calls = sum(1 for address, text in code for at in range(len(text) - 4)
                if text[at] == 0xE8
                and address + at + 5 + struct.unpack_from("<i", text, at + 1)[0] == routine)
    print(f"{name}: {calls} functions guarded by the stack protector")
    if calls < MIN_GUARDED_CALLS:
        fault(f"{name}: {calls} calls to the stack-protector routine, want {MIN_GUARDED_CALLS} "
              "or more")


def check_readme(data):
    """The read-me's text; Notepad of every Windows, in any locale, reads UTF-8 with a
    byte-order mark and CR LF right."""
    if not data.startswith(b"\xef\xbb\xbf"):
        fault("readme.txt: no UTF-8 byte-order mark")
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError:
        fault("readme.txt: not UTF-8")
        return ""
    if "\n" in text.replace("\r\n", "") or "\r" in text.replace("\r\n", ""):
        fault("readme.txt: a line that does not end in CR LF")
    for word in (*README_WORDS, *CUES):
        if word not in text:
            fault(f"readme.txt: says nothing of {word}")
    if "作業フォルダー" in text:
        fault("readme.txt: still says the sounds come from the working folder")
    return text


def check_help(data, readme):
    """The help page: Japanese, UTF-8, nothing from outside the page, its pictures
    inlined PNG with Japanese alternative texts, and the read-me's sections."""
    try:
        page = data.decode("utf-8")
    except UnicodeDecodeError:
        return fault("help.html: not UTF-8")
    if '<html lang="ja">' not in page:
        fault('help.html: no <html lang="ja">')
    if '<meta charset="utf-8">' not in page.lower():
        fault("help.html: the encoding is not declared UTF-8")
    if re.search(r"<script|<link|<iframe|@import|url\(", page, re.I):
        fault("help.html: a script, a style sheet or a frame from elsewhere")
    for ref in re.findall(r'(?:src|href)="([^"]*)"', page):
        if not (ref.startswith("#") or ref.startswith("data:image/png;base64,")):
            fault(f"help.html: refers outside the page: {ref[:60]}")
    pictures = re.findall(r"<img\b[^>]*>", page)
    if len(pictures) != HELP_PICTURES:
        fault(f"help.html: {len(pictures)} pictures, want {HELP_PICTURES}")
    for img in pictures:
        alt = re.search(r'alt="([^"]*)"', img)
        if not alt or not re.search(r"[\u3040-\u30ff\u4e00-\u9fff]", alt.group(1)):
            fault(f"help.html: a picture without a Japanese alt text: {img[:80]}")
        src = re.search(r'src="data:image/png;base64,([^"]*)"', img)
        png = base64.b64decode(src.group(1)) if src else b""
        if not png.startswith(b"\x89PNG\r\n\x1a\n") or len(png) < 1000:
            fault(f"help.html: a picture that is no PNG of a window: {img[:80]}")
    # One source: every section of the read-me is a section of the page, in order.
    sections = re.findall(r"^■ (.+?)\r?$", readme, re.M)
    headings = [re.sub(r"<[^>]+>", "", h) for h in re.findall(r"<h2[^>]*>(.*?)</h2>", page)]
    if not sections or [h for h in headings if h in sections] != sections:
        fault(f"help.html: sections {headings}, the read-me's {sections}")


def check_where_it_runs(files, texts):
    """The page and the read-me name the Windows that the executables' machine type
    starts on, and no other. The read-me is wrapped: spaces and line ends are not compared."""
    machines = {}
    for exe in ("nenga.exe", "nenga-check.exe"):
        data = files.get(exe, b"")
        try:
            pe = struct.unpack_from("<I", data, 0x3C)[0]
            if data[pe:pe + 4] == b"PE\0\0":
                machines[exe] = struct.unpack_from("<H", data, pe + 4)[0]
        except struct.error:
            pass
    kinds = set(machines.values())
    if len(machines) != 2 or len(kinds) != 1:
        found = ", ".join(f"{exe} 0x{m:04x}" for exe, m in machines.items())
        return fault(f"executables' machine types: {found or 'none'}; want one for both")
    machine = kinds.pop()
    if machine not in WHERE_IT_RUNS:
        return fault(f"machine type 0x{machine:04x}: no sentence of where it runs")

    def bare(text):
        return re.sub(r"\s+", "", text)

    for name, text in texts.items():
        for other, sentence in WHERE_IT_RUNS.items():
            said = bare(sentence) in bare(text)
            if other == machine and not said:
                fault(f"{name}: does not say where a 0x{machine:04x} program runs: {sentence}")
            elif other != machine and said:
                fault(f"{name}: says where a 0x{other:04x} program runs; "
                      f"the executables are 0x{machine:04x}")


def check_package(zip_path):
    name = Path(zip_path).stem
    folder = name + "/"
    want = {"nenga.exe", "nenga-check.exe", "sample.txt", "readme.txt", "help.html", *CUES}
    if name != "nenga-" + version():
        fault(f"{zip_path}: not named after the version in resources/version.h")
    with zipfile.ZipFile(zip_path) as z:
        entries = z.namelist()
        files = {e[len(folder):]: z.read(e) for e in entries if e.startswith(folder) and e != folder}
    if any(not e.startswith(folder) for e in entries):
        fault(f"entries outside the folder {folder}: {entries}")
    if sorted(files) != sorted(want):
        fault(f"files {sorted(files)}, want {sorted(want)}")
    if len({f.lower() for f in files}) != len(files):
        fault("two names differ only in case; Windows keeps one of them")

    for exe in ("nenga.exe", "nenga-check.exe"):
        data = files.get(exe, b"")
        if not data.startswith(b"MZ"):
            fault(f"{exe}: not an executable")
            continue
        try:
            start_imports, late_imports = imported_functions(data)
        except (ValueError, struct.error) as e:
            fault(f"{exe}: import tables unreadable ({e})")
            continue
        check_hardening(exe, data)
        check_windows7_imports(exe, start_imports, late_imports)
        at_start, late = set(start_imports), set(late_imports)
        foreign = (at_start | late) - SYSTEM_DLLS
        if foreign:
            fault(f"{exe}: needs {sorted(foreign)} beside it")
        # Loaded late, and then from the system folder only; one in the ordinary table
        # too would be loaded at start by the usual search order, the program's folder first.
        want_late = LATE_DLLS if exe == "nenga.exe" else set()
        if late != want_late or late & at_start:
            fault(f"{exe}: loads {sorted(late)} late and {sorted(at_start)} at start; "
                  f"want {sorted(want_late)} late only")
        if exe == "nenga.exe":
            try:
                resources = pe_resources(data)
                check_manifest(exe, resources)
                check_icon(exe, resources)
            except (ValueError, struct.error) as e:
                fault(f"{exe}: resources unreadable ({e})")
    size = len(files.get("nenga.exe", b""))
    print(f"nenga.exe: {size} bytes ({size / 1024:.0f} KB, at most {MAX_EXE_BYTES // 1024} KB)")
    if size > MAX_EXE_BYTES:
        fault(f"nenga.exe: {size} bytes, at most {MAX_EXE_BYTES}")

    with tempfile.TemporaryDirectory() as fresh:
        made = make_sounds(fresh)
    for cue in CUES:
        if cue in files:
            check_wave(cue, files[cue])
            if files[cue] != made.get(cue):
                fault(f"{cue}: not what resources/sounds/make_sounds.py makes")

    if files.get("sample.txt") != (ROOT / "samples/sample.txt").read_bytes():
        fault("sample.txt: not samples/sample.txt")

    readme = check_readme(files.get("readme.txt", b""))
    check_help(files.get("help.html", b""), readme)
    check_where_it_runs(files, {"help.html": files.get("help.html", b"").decode("utf-8", "replace"),
                                "readme.txt": readme})
    for f, data in sorted(files.items()):
        print(f"  {f:16} {len(data):8}")


def main(argv):
    if len(argv) == 2 and argv[1] == "--sounds":
        check_sounds()
    elif len(argv) == 2:
        check_package(argv[1])
    else:
        sys.exit(__doc__)
    for f in faults:
        print("FAULT:", f, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
