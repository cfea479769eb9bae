"""End-to-end cases of savers signed with Authenticode: the native tool signs
with a certificate made for the test by openssl, osslsigncode verifies the
signature over the whole file, the package included, and the player under
Wine shows the signed saver as it shows the unsigned one; a signature cut
short leaves a damaged file, which the player and the tool refuse as any.
run_e2e.py runs them with its own cases and lends its helpers."""
import glob
import os
import struct
import subprocess

import run_e2e as e2e
from e2e_common import check


def certificate(run):
    """A self-signed code-signing certificate and its PFX with a password file."""
    folder = run.folder("signing", "certificate")
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    pfx, password = os.path.join(folder, "maker.pfx"), os.path.join(folder, "password.txt")
    with open(password, "w") as f:
        f.write("e2e secret\n")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                    "-out", cert, "-days", "2", "-subj", "/CN=Pixvane E2E Maker",
                    "-addext", "extendedKeyUsage=codeSigning"], check=True,
                   capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-out", pfx, "-inkey", key, "-in", cert,
                    "-passout", "file:" + password], check=True, capture_output=True)
    return cert, pfx, password


def signed_saver(run):
    """The unsigned saver of two slides, and the same manifest built signed."""
    unsigned = run.solid_saver("signed", ["red", "green"], interval=60000)
    cert, pfx, password = certificate(run)
    manifest = os.path.join(run.work, "packages", "signed", "pixvane.toml")
    signed = os.path.join(run.work, "packages", "Signed.scr")
    subprocess.run([run.tool, "build", manifest, "-o", signed, "--player", run.player,
                    "--sign", pfx, "--sign-password-file", password],
                   check=True, stdout=subprocess.DEVNULL)
    return unsigned, signed, cert


def tool(run, *args):
    return subprocess.run([run.tool] + list(args), capture_output=True, text=True, timeout=60)


def expect_only_header_fields_changed(unsigned, signed):
    """Signing appends padding and the table; before them only the PE checksum
    and the security directory entry may differ."""
    pe = struct.unpack_from("<I", unsigned, 0x3C)[0]
    optional = pe + 24
    check(struct.unpack_from("<H", unsigned, optional)[0] == 0x20B, "the player is not PE32+")
    allowed = set(range(optional + 64, optional + 68))  # CheckSum
    allowed |= set(range(optional + 112 + 4 * 8, optional + 112 + 5 * 8))  # security entry
    changed = [i for i in range(len(unsigned)) if unsigned[i] != signed[i]]
    check(set(changed) <= allowed, "signing changed bytes at %s" % changed[:10])
    table, size = struct.unpack_from("<II", signed, optional + 112 + 4 * 8)
    check(table + size == len(signed) and 0 <= table - len(unsigned) < 8,
          "the table is at %d (%d bytes) after %d bytes of saver in %d"
          % (table, size, len(unsigned), len(signed)))
    check(not any(signed[len(unsigned):table]), "the padding before the table is not zeros")


def case_signed_saver_verifies_and_plays(run):
    """build --sign: osslsigncode verifies the signature over the package; the report and
    extract read the signed saver; /s shows its first picture as for the unsigned one."""
    unsigned_path, signed_path, cert = signed_saver(run)
    verify(signed_path, cert)
    with open(unsigned_path, "rb") as f:
        unsigned = f.read()
    with open(signed_path, "rb") as f:
        signed = f.read()
    expect_only_header_fields_changed(unsigned, signed)

    report = tool(run, "inspect", signed_path)
    check(report.returncode == 0 and "signed (" in report.stdout,
          "the report: %s" % (report.stderr or report.stdout[:300]))
    out = run.folder("signed", "extracted")
    extracted = tool(run, "extract", signed_path, out)
    check(extracted.returncode == 0, "extract: %s" % extracted.stderr)
    check(sorted(os.listdir(out)) == ["01-red.jpg", "02-green.jpg"],
          "extract wrote %s" % sorted(os.listdir(out)))

    exe, process = e2e.start_saver(run, "signed", signed_path)
    run.wait_slide(process, "red")
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")


def case_signed_saver_cut_short(run):
    """A signed saver whose certificate table is cut short: /s ends at once as a
    saver without a package does; the report says the signature is damaged."""
    _, signed_path, _ = signed_saver(run)
    with open(signed_path, "rb") as f:
        data = f.read()
    cut = os.path.join(run.work, "packages", "Cut.scr")
    with open(cut, "wb") as f:
        f.write(data[:-100])
    report = tool(run, "inspect", cut)
    check(report.returncode == 1 and "signature is damaged" in report.stderr,
          "the report of the cut saver: %d %s" % (report.returncode, report.stderr))
    exe, process = e2e.start_saver(run, "cut", cut)
    run.wait_exit(process, 15, "/s with the signature cut short")
    e2e.expect_saver_gone(run)


def verify(path, cert):
    verified = subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", path],
                              capture_output=True, text=True)
    check(verified.returncode == 0,
          "osslsigncode verify %s: %s" % (os.path.basename(path), verified.stdout[-400:]))


def case_signed_installers_verify(run):
    """installer --sign: the setup program and the MSI verify against the maker's
    certificate, and so does the saver the MSI carries, signed on the way in."""
    saver = run.solid_saver("installed", ["blue"], interval=60000)
    cert, pfx, password = certificate(run)
    out = run.folder("signed", "installers")
    stem = os.path.splitext(os.path.basename(saver))[0]
    for extra, name in (([], stem + " Setup.exe"), (["--msi"], stem + ".msi")):
        made = tool(run, "installer", saver, "-o", out, "--sign", pfx,
                    "--sign-password-file", password, *extra)
        check(made.returncode == 0, "installer %s: %s" % (" ".join(extra), made.stderr[-400:]))
        verify(os.path.join(out, name), cert)
    inside = run.folder("signed", "msi-files")
    subprocess.run(["msiextract", "-C", inside, os.path.join(out, stem + ".msi")], check=True,
                   capture_output=True)
    carried = glob.glob(os.path.join(inside, "**", "*.scr"), recursive=True)
    check(len(carried) == 1, "the MSI carries %s" % carried)
    verify(carried[0], cert)


CASES = [case_signed_saver_verifies_and_plays, case_signed_saver_cut_short,
         case_signed_installers_verify]
