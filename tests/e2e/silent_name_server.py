"""A name server that reads queries and never answers, on one loopback address.

Usage: silent_name_server.py ADDRESS COUNT_FILE SECONDS
COUNT_FILE holds the number of queries read so far (written once ready, then after each
query). Ends by itself after SECONDS or 100,000 queries, whichever comes first.
"""
import os
import socket
import sys
import time

address, count_file, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])


def tell(count):
    with open(count_file + ".new", "w") as f:
        f.write(f"{count}\n")
    # Renamed into place, so a reader never sees a half-written number.
    os.replace(count_file + ".new", count_file)


with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
    s.bind((address, 53))
    deadline = time.monotonic() + seconds
    count = 0
    tell(count)
    while count < 100_000:
        left = deadline - time.monotonic()
        if left <= 0:
            break
        s.settimeout(left)
        try:
            s.recvfrom(4096)
        except socket.timeout:
            break
        count += 1
        tell(count)
