#!/usr/bin/env python3
# A communication of N new vehicles for company 12, made from the sample's
# first vehicle with each identity changed.
import sys
src, out, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
lines = open(src, 'rb').read().split(b'\r\n')
template = lines[3].split(b'\t')
def checksum(line):
    return sum(b - 256 if b > 127 else b for b in line if b not in (9, 10))
body = [b'<Azienda=12>', lines[2]]
for i in range(n):
    f = list(template)
    f[1] = b'WB%015d' % i
    f[5] = b'%d' % (1000 + i)
    f[6] = b'L%07d' % i
    f[7] = b'Z%06d' % i
    body.append(b'\t'.join(f))
total = 0
for line in body:
    total = (total + checksum(line)) % 1000000000
text = [b'<VariazioniBusQz>%d' % n] + body + [b'</VariazioniBusQz>%d' % total, b'']
open(out, 'wb').write(b'\r\n'.join(text))
