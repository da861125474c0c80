# Reads two-column text files with numpy.loadtxt and prints each one's rows, one a line:
#   file <path>
#   spectrum <rows>
#   <x> <y>             (as numpy parsed them, to a double's full precision)
# Usage: python3 asciiread.py FILE...
import sys

import numpy

for path in sys.argv[1:]:
    print("file", path)
    table = numpy.loadtxt(path, ndmin=2)
    if table.shape[1] != 2:
        sys.exit(f"{path}: {table.shape[1]} columns, not 2")
    print("spectrum", table.shape[0])
    for x, y in table:
        print(repr(float(x)), repr(float(y)))
