"""python3 write_failures.py VARNEX_CHECK FOLDER

A report that cannot be written (a full disk, a closed standard output, a reader that
went away) is reported on the error stream with the system's reason, exit status 2."""
import errno
import os
import subprocess
import sys

program, folder = sys.argv[1], sys.argv[2]


def full():
    return {"stdout": open("/dev/full", "wb")}


def closed():
    return {"preexec_fn": lambda: os.close(1)}


def gone():
    read, write = os.pipe()
    os.close(read)
    return {"stdout": write}


cases = [("a full disk", full, errno.ENOSPC), ("a closed output", closed, errno.EBADF),
         ("a reader that went away", gone, errno.EPIPE)]
for name, output, reason in cases:
    for flags in ([], ["--format", "sarif"]):
        run = subprocess.run([program] + flags + [folder], stderr=subprocess.PIPE, **output())
        said = "varnex-check: cannot write the report to standard output: %s\n" % os.strerror(reason)
        assert run.returncode == 2, (name, flags, run.returncode)
        assert run.stderr.decode() == said, (name, flags, run.stderr)
print("%d write failures reported" % (2 * len(cases)))
