"""The release package: tools/package builds orbin-VERSION-win32.zip with the
i686 orbin.exe and the installation guide and nothing else; the exe needs
system DLLs only, carries its version resource and manifest, is byte for
byte the orbin.exe the i686 end-to-end pass runs and, unpacked from the
package, runs under Wine; the same sources built for x86_64 start under
Wine."""
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile
from pathlib import Path

import harness

ROOT = harness.ROOT
I686_BUILD = Path(os.environ.get("ORBIN_I686_BUILD", harness.BUILD / "i686"))

# DLLs every Windows the practices run has in its system folder.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "winspool.drv", "shell32.dll", "comctl32.dll",
    "comdlg32.dll", "msvcrt.dll", "advapi32.dll", "imm32.dll", "ole32.dll", "oleaut32.dll",
    "shlwapi.dll", "version.dll", "winmm.dll", "uxtheme.dll",
}
RT_VERSION = 16
RT_MANIFEST = 24
I386 = 0x14C
GUI_SUBSYSTEM = 2


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"\bproject\(\s*orbin\s+VERSION\s+([\d.]+)", text).group(1)


# --- Reading a PE file -------------------------------------------------------

class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise AssertionError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise AssertionError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.pe32 = magic == 0x10B
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.pe32 else 112)
        self.import_rva = struct.unpack_from("<I", data, directories + 1 * 8)[0]
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            vsize, rva, raw_size, raw_at = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((rva, max(vsize, raw_size), raw_at))

    def offset(self, rva):
        for start, size, raw_at in self.sections:
            if start <= rva < start + size:
                return raw_at + rva - start
        raise AssertionError(f"RVA {rva:#x} lies in no section")

    def load_time_imports(self):
        """Names of the DLLs the loader maps before the program starts: the
        import directory, not the delay-load one."""
        names = []
        at = self.offset(self.import_rva) if self.import_rva else None
        while at is not None:
            name_rva, first_thunk = struct.unpack_from("<II", self.data, at + 12)
            if not name_rva and not first_thunk:
                break
            start = self.offset(name_rva)
            names.append(self.data[start:self.data.index(b"\0", start)].decode("ascii"))
            at += 20
        return names

    def resources(self):
        """{(type, name, language): data}; ids as integers, names as text."""
        if not self.resource_rva:
            return {}
        base = self.offset(self.resource_rva)

        def label(value):
            if value & 0x80000000:
                at = base + (value & 0x7FFFFFFF)
                length = struct.unpack_from("<H", self.data, at)[0]
                return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            return value

        def walk(at, path):
            named, numbered = struct.unpack_from("<HH", self.data, base + at + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
                key = path + (label(name),)
                if target & 0x80000000:
                    yield from walk(target & 0x7FFFFFFF, key)
                else:
                    rva, size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(rva)
                    yield key, self.data[start:start + size]

        return dict(walk(0, ()))


def version_info(block):
    """The VS_VERSIONINFO resource: (fixed file version, fixed product
    version, [(language, code page)] of its translations, {table key:
    {string name: value}})."""

    def node(at):
        length, value_length, kind = struct.unpack_from("<HHH", block, at)
        key_end = at + 6
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value_size = 2 * value_length if kind == 1 else value_length  # text: in characters
        value = block[value_at:value_at + value_size]
        if kind == 1:
            value = value.decode("utf-16-le").rstrip("\0")
        children = []
        child = (value_at + value_size + 3) & ~3
        while child < at + length:
            sub = node(child)
            children.append(sub)
            child = (child + sub[3] + 3) & ~3
        return key, value, children, length

    key, fixed, children, _ = node(0)
    if key != "VS_VERSION_INFO":
        raise AssertionError(f"version resource named {key!r}")
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        raise AssertionError(f"fixed version signature {signature:#x}")
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    tables, translations = {}, []
    for name, _, items, _ in children:
        if name == "StringFileInfo":
            for table, _, strings, _ in items:
                tables[table.upper()] = {s[0]: s[1] for s in strings}
        elif name == "VarFileInfo":
            for var, value, _, _ in items:
                if var == "Translation":
                    translations += [struct.unpack_from("<HH", value, i)
                                     for i in range(0, len(value) - 3, 4)]
    return split(file_ms, file_ls), split(product_ms, product_ls), translations, tables


def imported_dlls(exe):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(exe)], capture_output=True,
                         text=True, check=True, timeout=60).stdout
    return re.findall(r"DLL Name: (\S+)", out)


# --- The tests ---------------------------------------------------------------

class ReleasePackage(unittest.TestCase):
    """tools/package is run once, into a temporary folder; the tests read
    what it wrote."""

    def __str__(self):
        return f"{super().__str__()} [{harness.RUN_LABEL}]"

    @classmethod
    def setUpClass(cls):
        cls.version = project_version()
        cls.out = Path(tempfile.mkdtemp(prefix="orbin-package-"))
        result = subprocess.run([str(ROOT / "tools" / "package"), "--out", str(cls.out),
                                 "--build-dir", str(I686_BUILD)],
                                capture_output=True, text=True, timeout=600)
        if result.returncode != 0:
            raise AssertionError(f"tools/package failed:\n{result.stdout}{result.stderr}")
        cls.zip_path = cls.out / f"orbin-{cls.version}-win32.zip"
        cls.unpacked = cls.out / "unpacked"
        with zipfile.ZipFile(cls.zip_path) as archive:
            if archive.testzip() is not None:
                raise AssertionError("the package has a damaged entry")
            cls.names = archive.namelist()
            archive.extractall(cls.unpacked)
        cls.exe = cls.unpacked / "orbin.exe"
        cls.pe = PeFile(cls.exe.read_bytes())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, ignore_errors=True)

    def test_package_is_named_after_the_project_version(self):
        self.assertRegex(self.version, r"^\d+\.\d+\.\d+$")
        self.assertEqual([p.name for p in self.out.iterdir() if p.is_file()],
                         [f"orbin-{self.version}-win32.zip"])

    def test_holds_exactly_the_exe_and_the_guide(self):
        self.assertEqual(sorted(self.names), ["INSTALL.txt", "orbin.exe"])
        self.assertNotIn("cshis.dll", [Path(n).name.lower() for n in self.names])

    def test_the_exe_is_the_i686_build(self):
        self.assertEqual(self.exe.read_bytes(), (I686_BUILD / "orbin.exe").read_bytes())
        self.assertEqual(self.pe.machine, I386)
        self.assertTrue(self.pe.pe32)
        self.assertEqual(self.pe.subsystem, GUI_SUBSYSTEM)

    def test_imports_only_system_dlls(self):
        dlls = imported_dlls(self.exe)
        self.assertIn("kernel32.dll", [d.lower() for d in dlls])
        self.assertEqual([d for d in dlls if d.lower() not in SYSTEM_DLLS], [])

    def test_printer_library_and_shell_are_loaded_only_by_jobs_that_call_them(self):
        # Loading the printer library connects to the print system: a job
        # that never prints must not wait for it.
        for exe in (self.exe, harness.BUILD / "x86_64" / "orbin.exe"):
            with self.subTest(exe=str(exe)):
                imports = [d.lower() for d in PeFile(exe.read_bytes()).load_time_imports()]
                self.assertIn("kernel32.dll", imports)
                self.assertIn("user32.dll", imports)
                self.assertEqual([d for d in imports if d in ("winspool.drv", "shell32.dll")], [])

    def test_carries_the_version_resource(self):
        [(key, block)] = [(k, v) for k, v in self.pe.resources().items() if k[0] == RT_VERSION]
        self.assertEqual(key[1], 1)
        file_version, product_version, translations, tables = version_info(block)
        numbers = tuple(int(n) for n in self.version.split("."))
        expected = numbers + (0,) * (4 - len(numbers))
        self.assertEqual(file_version, expected)
        self.assertEqual(product_version, expected)
        # Traditional Chinese (Taiwan), code page 950; Windows finds the
        # texts under the key the translation names.
        self.assertEqual(translations, [(0x0404, 950)])
        strings = tables.get("%04X%04X" % translations[0])
        self.assertIsNotNone(strings, f"no text table for the translation; tables: {list(tables)}")
        self.assertEqual(strings["FileVersion"], self.version)
        self.assertEqual(strings["ProductVersion"], self.version)
        self.assertEqual(strings["OriginalFilename"], "orbin.exe")

    def test_carries_the_manifest_with_common_controls_6(self):
        manifests = {k: v for k, v in self.pe.resources().items() if k[0] == RT_MANIFEST}
        self.assertEqual([k[1] for k in manifests], [1])
        xml = ElementTree.fromstring(next(iter(manifests.values())))
        ns = "{urn:schemas-microsoft-com:asm.v1}"
        own = xml.find(f"{ns}assemblyIdentity")
        numbers = self.version.split(".")
        self.assertEqual(own.get("version"), ".".join(numbers + ["0"] * (4 - len(numbers))),
                         "the manifest's version follows the project version")
        dependencies = [a.attrib for a in xml.iter(f"{ns}assemblyIdentity")
                        if a.get("name") == "Microsoft.Windows.Common-Controls"]
        self.assertEqual(len(dependencies), 1)
        self.assertEqual(dependencies[0]["version"], "6.0.0.0")
        self.assertEqual(dependencies[0]["publicKeyToken"], "6595b64144ccf1df")

    def test_the_manifest_declares_system_dpi_awareness(self):
        # Without it Windows stretches the windows' pixels at 125-150 %
        # scaling; per-monitor awareness the program does not handle.
        manifests = {k: v for k, v in self.pe.resources().items() if k[0] == RT_MANIFEST}
        xml = ElementTree.fromstring(next(iter(manifests.values())))
        settings = "{urn:schemas-microsoft-com:asm.v3}"
        declared = [(e.tag, (e.text or "").strip()) for s in xml.iter(f"{settings}windowsSettings")
                    for e in s]
        self.assertEqual(declared,
                         [("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", "true")])

    def test_guide_opens_in_notepad_in_traditional_chinese(self):
        data = (self.unpacked / "INSTALL.txt").read_bytes()
        self.assertTrue(data.startswith(b"\xef\xbb\xbf"), "UTF-8 with a byte order mark")
        text = data[3:].decode("utf-8")
        self.assertEqual(text.count("\n"), text.count("\r\n"), "CR LF line ends only")
        text.encode("cp950")  # every character exists in code page 950
        self.assertIn(f"orbin {self.version}", text.splitlines()[0])
        self.assertNotRegex(text, r"@[A-Z_]+@")
        self.assertIn("安裝說明", text)
        for name in ("orbin.exe", "vexa.exe", "c:\\vexa\\", "VexaSys.ini", "c:\\vexa.ini",
                     "cshis.dll", "chg2eng.exe", "c:\\backup\\vexa\\", "預設印表機", "32 位元"):
            self.assertIn(name, text)

    def test_the_exe_is_the_one_the_end_to_end_tests_run(self):
        if harness.BUILD_NAME != "i686":
            self.skipTest("the package holds the i686 orbin.exe: the i686 pass runs it")
        self.assertEqual(self.exe.read_bytes(), harness.EXE.read_bytes(),
                         f"the package's orbin.exe is not the {harness.EXE} the tests run")
        # The unpacked copy itself runs: it lists the printers (on a display,
        # as a practice PC has: Wine 10 knows no default printer without one).
        work = self.out / "run-packaged"
        work.mkdir()
        shutil.copy(self.exe, work / "orbin.exe")
        wine = harness.Wine()
        try:
            program = wine.run("/Printers/", cwd=work, exe=work / "orbin.exe", timeout=60)
            self.assertEqual(program.process.returncode, 0, program.stderr())
        finally:
            wine.stop()
        lines = (work / "Printers.txt").read_bytes().decode("cp950").split("\r\n")
        self.assertEqual(lines[0], "PDF")

    def test_same_sources_built_for_x86_64_start_under_wine(self):
        if harness.BUILD_NAME != "x86_64":
            self.skipTest("the x86_64 build is run by the x86_64 pass")
        x86_64 = PeFile(harness.EXE.read_bytes())
        # Built from the same sources: the same version and manifest.
        ours = {k[:2]: v for k, v in self.pe.resources().items() if k[0] in (RT_VERSION, RT_MANIFEST)}
        theirs = {k[:2]: v for k, v in x86_64.resources().items() if k[0] in (RT_VERSION, RT_MANIFEST)}
        for key in sorted(set(ours) | set(theirs)):
            self.assertTrue(ours.get(key) == theirs.get(key),
                            f"resource {key} differs: {harness.EXE} is not built from the "
                            "sources of the package")
        work = self.out / "work"
        work.mkdir()
        shutil.copy(harness.EXE, work / "orbin.exe")
        shutil.copy(self.unpacked / "INSTALL.txt", work / "INSTALL.txt")
        wine = harness.Wine(display=False)
        try:
            program = wine.run("/VV/", cwd=work, exe=work / "orbin.exe", timeout=60)
            self.assertEqual(program.process.returncode, 0, program.stderr())
        finally:
            wine.stop()


if __name__ == "__main__":
    unittest.main()
