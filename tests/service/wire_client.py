#!/usr/bin/env python3
# An independent client of the service's pipe socket, for checking the wire format:
#   wire_client.py <socket path> <request as hex> [<request as hex> ...]
# Each request is one connection: send the request as one message as soon as it is
# connected (as CallNamedPipe does), wait for the one-byte welcome, then print the reply's length and its bytes in hex, or "closed"
# when the server ends the connection without a reply.
import socket
import sys

path = sys.argv[1]
for hexreq in sys.argv[2:]:
    s = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)
    s.settimeout(10)
    s.connect(path)
    s.send(bytes.fromhex(hexreq))
    welcome = s.recv(16)
    if welcome != b"\x01":
        print("refused", welcome.hex())
        continue
    reply = s.recv(4096)
    if not reply:
        print("closed")
    else:
        extra = b""
        s.setblocking(False)
        try:
            extra = s.recv(4096)
        except BlockingIOError:
            pass
        print(len(reply), reply.hex(), "extra" if extra else "")
    s.close()
