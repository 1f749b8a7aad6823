"""Runs the module's pytest tests; exit 77 (CTest's skip) when pytest is not installed."""
import sys

try:
    import pytest
except ImportError:
    print("pytest is not installed: the Python module's tests are skipped")
    sys.exit(77)

# No cache folder in the source tree.
sys.exit(pytest.main(["-q", "-p", "no:cacheprovider", *sys.argv[1:]]))
