"""Runs every test_* function of tests/e2e/test_*.py and prints one line per test and a RESULT line."""
import glob
import importlib.util
import os
import sys
import traceback

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
only = sys.argv[1:]
passed = failed = 0
from harness import Hold  # noqa: E402  (needs the path above)

# The Wine server stays up for the whole run, as a Windows session does: a program started while the server is
# still starting up for another one can hang, and start-up times are only comparable with the server running.
keeper = Hold("idle", most_ms=3 * 3600 * 1000).__enter__()
for path in sorted(glob.glob(os.path.join(here, "test_*.py"))):
    loader = importlib.util.spec_from_file_location(os.path.basename(path)[:-3], path)
    module = importlib.util.module_from_spec(loader)
    loader.loader.exec_module(module)
    for name in [n for n in vars(module) if n.startswith("test_")]:
        if only and not any(o in name for o in only):
            continue
        try:
            getattr(module, name)()
            print("ok", name, flush=True)
            passed += 1
        except Exception:  # a failing test must not stop the others
            print("FAIL", name, flush=True)
            traceback.print_exc(file=sys.stdout)
            failed += 1
keeper.__exit__(None, None, None)
print("RESULT passed=%d failed=%d" % (passed, failed))
