#!/usr/bin/env python3
"""The release zip: its contents, and the same bytes from two separate builds."""
import hashlib
import pathlib
import shutil
import subprocess
import sys
import unittest
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
WORK = pathlib.Path(sys.argv.pop(1)) if len(sys.argv) > 1 else ROOT / "build" / "package-test"


def package(name):
    build, out = WORK / name / "build", WORK / name / "dist"
    shutil.rmtree(WORK / name, ignore_errors=True)
    subprocess.run(["bash", str(ROOT / "scripts" / "package"), "--build-dir", str(build),
                    "--out", str(out)], check=True, stdout=subprocess.DEVNULL)
    zips = list(out.glob("zarvell-*-win32.zip"))
    assert len(zips) == 1, zips
    return zips[0]


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.first = package("a")
        cls.second = package("b")

    def test_same_bytes_from_two_builds(self):
        digest = lambda p: hashlib.sha256(p.read_bytes()).hexdigest()
        self.assertEqual(self.first.name, self.second.name)
        self.assertEqual(digest(self.first), digest(self.second))

    def test_contents(self):
        with zipfile.ZipFile(self.first) as z:
            self.assertEqual(z.namelist(), ["zarvell.exe", "README.txt", "mod.ini.sample"])
            exe = z.read("zarvell.exe")
            self.assertEqual(exe[:2], b"MZ")
            # About 276 KB now: a budget that a pulled-in library part (a printf, iostreams)
            # would break.
            self.assertLess(len(exe), 300_000)
            readme = z.read("README.txt")
            self.assertTrue(readme.startswith(b"\xef\xbb\xbf"))
            text = readme[3:].decode("utf-8")
            self.assertLess(text.index("启动器"), text.index("game launcher"))  # Chinese first
            self.assertNotIn("\n", text.replace("\r\n", ""))  # CRLF throughout
            sample = z.read("mod.ini.sample")
            self.assertIn(b"win=\xbc\xd9\r\n", sample)  # 假 in GBK
            self.assertTrue(sample.startswith(b"[mod]\r\n"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
