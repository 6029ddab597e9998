#!/usr/bin/env python3
"""Writes the seed corpora tests/fuzz/corpus/<target>/ from the cases of the
unit tests and the sample files (tools/sample). Run it again after changing
a target's input layout; the files it writes are kept in the repository.

The targets that take several values (code_table, key_rules, reader_run)
read them with libFuzzer's FuzzedDataProvider: strings from the front of
the input, numbers and flags from its end. `Provided` lays out a seed the
same way, value by value in the order the target reads them."""
import hashlib
import shutil
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parents[1]
CORPUS = HERE / "corpus"


def ansi(text):
    """Text in the practices' code page (950), lines ended by CR LF."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp950")


def sample(name):
    return ansi((ROOT / "tools" / "sample" / name).read_text(encoding="utf-8"))


class Provided:
    """An input for FuzzedDataProvider, built in the order the target reads."""

    def __init__(self):
        self.front = b""
        self.back = b""  # consumed from the end: first value read is last here

    def string(self, data, max_length):
        """ConsumeRandomLengthString(max_length): text as UTF-8, bytes as they are."""
        data = data.encode("utf-8") if isinstance(data, str) else data
        assert len(data) < max_length
        self.front += data.replace(b"\\", b"\\\\") + b"\\x"
        return self

    def rest(self, data):
        """ConsumeRemainingBytesAsString: all that is left, read last."""
        self.front += data
        return self

    def number(self, value, low, high):
        """ConsumeIntegralInRange(low, high); full ranges give ConsumeIntegral."""
        span, offset, raw = high - low, value - low, b""
        assert 0 <= offset <= span
        shift = 0
        while shift < 64 and (span >> shift) > 0:
            raw += bytes([(offset >> shift) & 0xFF])
            shift += 8
        # Read most significant first, from the end backwards.
        self.back = raw + self.back
        return self

    def flag(self, value):
        return self.number(1 if value else 0, 0, 255)

    def byte(self, value):
        return self.number(value, 0, 255)

    def key16(self, value):
        return self.number(value, 0, 0xFFFF)

    def bytes(self, middle=b""):
        return self.front + middle + self.back


def write(target, seeds):
    folder = CORPUS / target
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for data in seeds:
        data = data.encode("cp950") if isinstance(data, str) else data
        (folder / hashlib.sha1(data).hexdigest()[:16]).write_bytes(data)


def print_script():
    def lines(*commands, headers=("3", "0")):
        return ansi("\n".join(list(headers) + list(commands)) + "\n")

    seeds = [sample("print2vb"), b"", b"3", b"3\r1", b"3\r\n0\r\n", b"&H12C\r\n0\r\n",
             b"40000\r\n0\r\n", b"4.5\r\n1\r\n", b"abc\r\nlandscape\r\n"]
    for commands in [
        ("Endless", "Size9"), ("Sizes10",), ("Size 12",), ("Size1e39",), ("Print;drawn", "Size0"),
        ("LineX", "100", "200", "300", "400"), ("Line -", "100", "200", "300", "400"),
        ("Line-", "0", "500"), ("Line-", "100 200"), ("LineB", "100,200,1000,500", "Line-", "0,500"),
        ("LineBF", "1", "2", "1e39", "4"), ("Line", ",2,3,4"), ("Line", "1,2"),
        ("Circle", "500,600,50", "Print;c"), ("Circle", "1,2,-32769"),
        ("Print", "1440,720", "ABC", "Print;DEF"), ("Print", "abc,720", "text"), ("Print", "1,2"),
        ("PrintL", "1440,720,900", "ABC", "Print;x"), ("PrintL", '1,"2",3', "text"),
        ("PrintL", "0,0,300", "x" * 400), ("Print;a", "New", "Print;b"), ("Print;  x",),
        ("Print", "0,0", "診所"), ("Print;診所",), ("LineB", "&H10,&O17,1D3,2.5E-1"),
        ("Print;drawn", "LineB", "1,2,3", "32768"), ("end", "END", " End", "size9", "new", "Pri"),
    ]:
        seeds.append(lines(*commands))
    write("print_script", seeds)


def lenient_number():
    write("lenient_number", [
        "&H1F", "&o17", "&H", "&X", "1D3", "2.5e-1", "1E+", " - 12 abc", "", "abc", "4.5", ".5",
        "-.5", "+7", "-", ".", "1 2\t3\n4", "12pt", "1.2.3", "--1", "\r5", "32767.5", "-32768.5",
        "2147483647.5", "1e308", "1e309", "&HFFFFFFFFFFFFFFFF", "0.1", "123456789012345678",
        "1e-400", "9" * 30, "1200/T300",
    ])


def code_table():
    tables = [sample("treat.dat"), b"", b"Q 1\rD 0\r\nB 1xx\r\nC\r\n", b"B 1 short",
              ansi("A 1 根管治療          90001C\nA 0 second           90002C\n"),
              ansi("D 1 拔牙              \n"), b"R 1                 92013C  extra"]
    entries = [("1112R34", "R", 4), ("21A5", "A", 2), ("11B", "B", 2), ("111A5", "A", 3),
               ("1A", "A", 1), ("", "Z", 0), ("11診B", "B", 3)]
    seeds = []
    for i, table in enumerate(tables):
        text, letter, pos = entries[i % len(entries)]
        seeds.append(Provided().string(text, 24).number(ord(letter) - ord("A"), 0, 25)
                     .number(pos, -1, len(text) + 1).number(2026, 1912, 9999).number(12, 1, 12)
                     .number(7, 1, 31).string(text[len(text) // 2:], 12).rest(table).bytes())
    write("code_table", seeds)


def key_rules():
    def seed(keys, waits=True, refusals=0, retries=0, layout=0x04040404, shortcuts=None,
             table=None, args="/L1200/T300"):
        p = Provided().flag(waits).number(refusals, 0, 4).number(retries, 0, 3)
        p.number(layout, -2**31, 2**31 - 1).flag(shortcuts is not None)
        if shortcuts is not None:
            p.string(shortcuts, 16)
        p.flag(table is not None)
        if table is not None:
            p.string(table, 120)
        p.string(args, 24)
        for key in keys:  # read one by one from the end
            if isinstance(key, tuple):
                p.byte(0xFE).number(key[1], 0, 5)
            elif key > 0xFD:
                p.byte(0xFF).key16(key)
            else:
                p.byte(key)
        return p.bytes()

    def typed(text):
        return [ord(c) for c in text.replace("{Esc}", "\x1b").replace("{Enter}", "\r")
                .replace("{BS}", "\b")]

    seeds = [seed(typed(k)) for k in [
        "11b", "1112R34", "21*5", "21a5", "111A5", "11-2", "11+2", "1.1#,B", "/", "s", "{Enter}",
        "{Esc}", "00", "1100", "11AL5", "B12{Esc}11B", "1112R3{BS}45", "1112R3{BS}{BS}{BS}2B",
        "1101", "21053", " 11B21A5{Enter}", "11B/{Esc}{Esc}{Esc}"]]
    seeds += [
        seed(typed("1101"), shortcuts="XYZ"), seed(typed("11B"), waits=False),
        seed(typed("11B"), refusals=3, retries=2), seed(typed("11B11B"), refusals=1), seed(typed("11B"), layout=-1),
        seed(typed("11B 21A5"), args="/L /+"), seed(typed("11Q5"), table=b"Q 1 x  90001C"),
        seed(typed("11") + [(None, 1), (None, 2)]), seed(typed("1") + [0x3000, 0xFF21]),
        seed(typed("1") + [(None, 5)]), seed(typed("0"), args="/L/T"),
    ]
    write("key_rules", seeds)


def reader_run():
    def seed(args, status=(), open_=(), verify=(), ickno=None, failure=None, close_fails=False,
             chg2eng=False, directory_fails=False, timer=()):
        p = Provided()
        for results in (open_, status, verify):
            p.number(len(results), 0, 4)
            for r in results:
                p.flag(True).number(r, -1, 9)
        p.number({None: 2, 53: 0, 453: 1}[failure], 0, 5).flag(close_fails).flag(chg2eng)
        p.number(0 if directory_fails else 1, 0, 7).flag(ickno is not None)
        p.string(ickno or b"", 8).string(args, 40)
        for fire in timer:
            p.number(3 if fire else 0, 0, 3)
        return p.bytes()

    write("reader_run", [
        seed("/ReadF4", status=[0]), seed("/ReadF4", status=[0], ickno=b"X"),
        seed("/ReadF4", status=[1, 0], verify=[0], ickno=b"X"),
        seed("/ReadF4", status=[1, 5], verify=[9]), seed("/COM2/", status=[5]),
        seed("/COM2/", status=[5, 0], ickno=b"X"), seed("/ReadF4", status=[-1], ickno=b"X"),
        seed("/COM2/", status=[1, 1], verify=[0]), seed("/ReadF4", open_=[3], ickno=b"X"),
        seed("/csOpenCom2/COM3/", status=[0, 7], ickno=b"X0"),
        seed("/COM2/", status=[0, 4], ickno=b"\0X"), seed("/COM2/", status=[9, 0], ickno=b"XX"),
        seed("/csOpenCom2 /COM2/", status=[6, 6], ickno=b"X"),
        seed("/COM2/", open_=[0, 5], status=[0]), seed("/COM3/"), seed("", chg2eng=True),
        seed("", chg2eng=True, directory_fails=True), seed("/ReadF4", failure=53),
        seed("/ReadF4", failure=453), seed("/ReadF4", status=[0], close_fails=True),
        seed("/ReadF4", open_=[3], timer=[True]),
        seed("/COM4//COM1/", status=[2, 2], ickno=b"00\x003ta"),
    ])


def printer_settings():
    write("printer_settings", [
        sample("VexaSys.ini"), b"", b"[VexaDent]\r\nprint00=40000\r\n",
        b"[VexaDent]\r\nCheckDoctor=7\r\nChkDrugName=-1\r\n",
        b"[vexadent]\r\n print51 = \"5\" \r\nOutExeData=\r\nAppendData1=&X\r\n",
        b"[Other]\r\nprint00=1\r\n[VexaDent]\r\nprint00=&H1\r\nCheckDoctor=2\r\n",
        ansi("[VexaDent]\nDrugName=" + "藥" * 60 + "\nDoctorName9=王\nOutExeTop5=C:\\a.exe\n"),
        b"[VexaDent]\r\nprint03=1e5\r\nChkDrugName=32767.5\r\n",
        b"[VexaDent]\nprint50=\nprint50=9\nCheckDoctor=1 2\n",
    ])


def arguments():
    write("arguments", [
        "/Print/", "/Print//01//03/", "/Print//H//00//09//08/", "/HH/", "/VV/", "/Printer/",
        "/Printer/Laser A", "/Printers/", "/Print2VB/", "/show", "/show10/", "/show5", "/show -3",
        "/show99999999999", "/L1200/T300", "/L /+", "/L-12.5/T.5", "memfrm", "/ReadF4",
        "/ReadF4/COM2/", "", "/Printers/ /Print/", "/L /show", "/ReadF4 /L", "/csOpenCom3/COM4/",
        "/show /vexa/vexa2", "/vexa", "/Printer/印表機 2", "/L診所",
    ])


def text_files():
    def monthly(month, year, lead=""):
        return ansi(lead + "x" * (25 - len(lead)) + month + "yyyy" + year + "zz\nline 2\n")

    write("text_files", [
        sample("orbin.txt"), b"", b"a\rb\nc\r\nd", b"\r\n\r\n\n\r", b"1" * 20, b"1" * 21,
        monthly("12", "04"), monthly("03", "ab"), monthly("03", ".5"), monthly("06", "08", "診所"),
        b"x" * 25 + b"1\r\n" + b"5" * 40, b"abc\n" + b"5" * 40, b"\xb6" * 40,
    ])


if __name__ == "__main__":
    print_script()
    lenient_number()
    code_table()
    key_rules()
    reader_run()
    printer_settings()
    arguments()
    text_files()
    for folder in sorted(CORPUS.iterdir()):
        print(f"{folder.name}: {len(list(folder.iterdir()))} seeds")
