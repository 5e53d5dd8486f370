# Writes the benchmarks' source tree: N files of 1-16 KiB of random bytes, 100
# to a folder, the same for every run (seeded). With --big, also one 50 MB file
# per 5,000 files in a folder "big".
# Usage: python3 bench/engine/make_tree.py ROOT N [--big]
import os
import random
import sys

root, n = sys.argv[1], int(sys.argv[2])
big = "--big" in sys.argv[3:]
random.seed(7)
for i in range(n):
    folder = os.path.join(root, f"dir{i // 100:03}")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, f"file{i % 100:03}.txt"), "wb") as out:
        out.write(os.urandom(random.randint(1024, 16384)))
if big and n >= 5000:
    os.makedirs(os.path.join(root, "big"))
    for i in range(n // 5000):
        with open(os.path.join(root, "big", f"big{i}.bin"), "wb") as out:
            out.write(os.urandom(50 * 1024 * 1024))
