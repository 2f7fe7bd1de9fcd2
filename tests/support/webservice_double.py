#!/usr/bin/python3
"""A stand-in for the hosted web service, for the tests.

It serves SOAP 1.1 on 127.0.0.1 at a port the system picks and plays the service side of the
payload envelope with its own code (hashlib for SHA-256, python3-cryptography for AES): it opens
what the desktop sends under the label "WEBSERVICE", checks every field strictly and records the
plain messages, and seals what it hands the desktop under the label "DESKTOP". It also acts as an
HTTP proxy (requests with an absolute target, and CONNECT tunnels) that can demand credentials; a
proxy request for another port of 127.0.0.1 is relayed there, so the administration service's
double can stand behind it, and one for any other host is served here.

It also serves the hosted pages under "/iPhoneSTarnwickPWPLite/" with a register of desktop names:
AddNewDesktop.asp ("Success"; "InvalidDesktopName" for a name it holds), DeleteDesktop.asp
("Success"; "InvalidDesktopName" for a name it does not hold) and UniqueDesktopName.asp ("Valid"
for a free name, "Taken" for a held one). Their faults take the page name as operation
("AddNewDesktop.asp"); "result" answers the "text" as it stands.

Options: "--tls authority" serves HTTPS with a certificate for 127.0.0.1 signed by a test
authority made for this run; "--tls self-signed" serves HTTPS with a self-signed certificate.
"--device-file FILE" keeps what the device holds in FILE across runs: read at start when it
exists, written after every SendData buffer.

Control: one JSON object per line on standard input, one JSON answer per line on standard output.
The first line written is {"port": N}, with "authority": the PEM file of the test authority when
there is one. End of input ends the double.

Commands ("cmd"):
  fault      {"operation": name, "kind": k, ...} answers `name` as k until changed; kinds:
             none, http500 ("reason"), status ("status", "text"), soapFault ("reason", SOAP 1.1),
             soap12Fault ("reason"), noResult, emptyResult, unclosedResult, result ("text"),
             delay ("seconds", then the normal answer), holdAnswer (the request is taken at
             once, its answer held back "seconds"; with "answer": false the connection is then
             closed without one), drop (close without an answer),
             chunked (the normal answer without Content-Length), oversize ("bytes": the normal
             answer padded with blanks to that length, sent in chunks), trickle (the normal
             answer one byte every "interval" seconds, 0.5 unless given), silent (no answer for
             "seconds", an hour unless given, then close); with "after": N the first N calls
             are still answered normally
  proxy      {"user": u, "password": p} demands these proxy credentials, for the requests whose
             method is in "methods" (GET and POST unless given); {"enabled": false} stops
  queue      {"stream": base64} plain device stream for the next GetDataForDesktop;
             {"raw": text} the result text itself (for malformed envelopes)
  deviceEdit {"operation": "add" | "update" | "delete", "profile", "source", "index", "values"
             (for add and update, by the profile's column kinds), optional "copies" (the service
             hands the message out that many times, as after a lost acknowledgement)}: an edit
             made on the device; the next GetDataForDesktop without a queued stream hands out
             every waiting edit in one stream, and the device takes an edit in when its
             acknowledgement says "Synced"
  redeliver  {"enabled": bool}: every GetDataForDesktop hands out again the edits handed out
             before and not acknowledged yet (as a service does for a desktop that never got them)
  acks       every acknowledgement opened from AckFromDesktop: profile, source, index, code, text
  received   the messages opened from SendData and AckFromDesktop
  device     what the device model holds (profiles with records, forms, message log) and every
             message it refused ("errors"); SendData buffers are fed to it as they arrive
  seedProfile {"profile": id, "kinds": [column kinds], "records": [{"source", "index", "hex"}]}
             a profile the device already holds in step
  requests   every request as it arrived (request line, headers in order, body)
  busy       {"seconds": s}: the time spent answering POST requests once their body was read,
             summed over every request since the start or the last reset (the double's own
             share of an exchange, for the benchmarks)
  seal       {"label", "plain" (base64), "framed" (bool), optional "salt"/"iv" (hex), "index"}
  open       {"label", "envelope" (text), "framed" (bool)}
  stalledPort  {"port": N} of a loopback port whose connection attempts are never answered
  pages      the hosted pages' register: {DesktopName: {query fields}}
  enterDesktop {"name": text} enters a desktop name into that register
  reset      clears faults, proxy, queue and records
"""

import argparse
import base64
import datetime
import hashlib
import http.client
import ipaddress
import json
import os
import pickle
import re
import shutil
import socket
import ssl
import struct
import sys
import tempfile
import threading
import time
import urllib.parse
import xml.etree.ElementTree as ElementTree
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

from device_model import DeviceError, DeviceModel
from cryptography.x509.oid import NameOID

# The fixed text both ends of the protocol derive payload keys from.
PAYLOAD_KEY_TEXT = ("Tarnwick Plus Lite payload key; desktop and web service share it. "
                    "7Qm2-Vx9K-Lr4T-Hs8N-Wd3B-Jc6P-Fy1Z-Gk5R. Never change one side alone: envelopes")
assert len(PAYLOAD_KEY_TEXT) == 145

SOAP_NS = "http://schemas.xmlsoap.org/soap/envelope/"
SERVICE_NS = "Tarnwick"
SALT_SIZE, INDEX_SIZE, IV_SIZE = 32, 2, 16
HEAD_SIZE = SALT_SIZE + INDEX_SIZE + IV_SIZE
MAX_KEY_INDEX = 14


class EnvelopeError(ValueError):
    pass


class Envelope:
    """The payload envelope: salt, key index, IV, AES-128-CBC ciphertext, as Base64 text."""

    @staticmethod
    def derive_key(label, salt, index):
        key_text = PAYLOAD_KEY_TEXT.encode("ascii")[:32]
        h1 = hashlib.sha256(label.encode("ascii")).digest()
        h2 = hashlib.sha256(bytes(a ^ b for a, b in zip(h1, key_text))).digest()
        h3 = hashlib.sha256(bytes(a ^ b for a, b in zip(h2, salt))).digest()
        return h3[index:index + 16]

    @staticmethod
    def padded_size(size):
        # 1 to 16 zero bytes, up to the next multiple of 16 strictly above the size.
        return size - size % 16 + 16

    @classmethod
    def pad(cls, data):
        return data + bytes(cls.padded_size(len(data)) - len(data))

    @classmethod
    def seal(cls, label, plain, framed, salt=None, iv=None, index=None):
        """`framed` puts the 32-bit little-endian length before the bytes (the desktop's own
        envelopes); otherwise the bytes are only padded (the envelopes made for the desktop)."""
        salt = salt if salt is not None else os.urandom(SALT_SIZE)
        iv = iv if iv is not None else os.urandom(IV_SIZE)
        index = index if index is not None else os.urandom(1)[0] % (MAX_KEY_INDEX + 1)
        body = struct.pack("<i", len(plain)) + plain if framed else plain
        encryptor = Cipher(algorithms.AES(cls.derive_key(label, salt, index)), modes.CBC(iv)).encryptor()
        cipher = encryptor.update(cls.pad(body)) + encryptor.finalize()
        return base64.b64encode(salt + struct.pack("<H", index) + iv + cipher).decode("ascii")

    @classmethod
    def open(cls, label, text, framed):
        """The plain bytes of an envelope, checked field by field; EnvelopeError says what is
        wrong."""
        try:
            raw = base64.b64decode(text, validate=True)
        except (ValueError, TypeError) as error:
            raise EnvelopeError("not Base64: %s" % error)
        if len(raw) < HEAD_SIZE + 16:
            raise EnvelopeError("%d bytes, fewer than %d" % (len(raw), HEAD_SIZE + 16))
        cipher = raw[HEAD_SIZE:]
        if len(cipher) % 16:
            raise EnvelopeError("ciphertext of %d bytes is not whole blocks" % len(cipher))
        salt = raw[:SALT_SIZE]
        (index,) = struct.unpack_from("<H", raw, SALT_SIZE)
        if index > MAX_KEY_INDEX:
            raise EnvelopeError("key index %d" % index)
        iv = raw[SALT_SIZE + INDEX_SIZE:HEAD_SIZE]
        decryptor = Cipher(algorithms.AES(cls.derive_key(label, salt, index)), modes.CBC(iv)).decryptor()
        plain = decryptor.update(cipher) + decryptor.finalize()
        if not framed:
            return plain
        (length,) = struct.unpack_from("<i", plain, 0)
        # Computed, not built: a length field of up to 2 GiB must not cost that much memory.
        if length < 0 or cls.padded_size(4 + length) != len(plain):
            raise EnvelopeError("length field %d does not fit %d plain bytes" % (length, len(plain)))
        if any(plain[4 + length:]):
            raise EnvelopeError("padding is not zero")
        return plain[4:4 + length]


def soap_answer(inner):
    return ('<?xml version="1.0" encoding="utf-8"?>'
            '<soap:Envelope xmlns:soap="%s" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"'
            ' xmlns:xsd="http://www.w3.org/2001/XMLSchema"><soap:Body>%s</soap:Body></soap:Envelope>'
            % (SOAP_NS, inner)).encode("utf-8")


def soap11_fault(reason):
    return soap_answer("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>%s</faultstring>"
                       "<detail /></soap:Fault>" % xml_escape(reason))


def soap12_fault(reason):
    return soap_answer('<soap:Fault><soap:Code><soap:Value>soap:Receiver</soap:Value></soap:Code>'
                       '<soap:Reason><soap:Text xml:lang="en">%s</soap:Text></soap:Reason></soap:Fault>'
                       % xml_escape(reason))


def xml_escape(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


class ServiceState:
    """What the tests set and what the service saw; one lock guards all of it."""

    def __init__(self, device_file=None):
        self.lock = threading.Lock()
        self.device_file = device_file
        self.reset()
        if device_file and os.path.exists(device_file):
            with open(device_file, "rb") as stored:
                self.device = pickle.load(stored)

    def save_device(self):
        if not self.device_file:
            return
        with open(self.device_file + ".new", "wb") as stored:
            pickle.dump(self.device, stored)
        os.replace(self.device_file + ".new", self.device_file)

    def reset(self):
        self.faults = {}
        self.proxy_credentials = None
        self.proxy_methods = ["GET", "POST"]
        self.queue = []
        self.received = []
        self.requests = []
        self.device = DeviceModel()
        self.device_errors = []
        self.pages = {}
        self.edits = []      # device edits not handed out yet: (message, operation, key, record)
        self.in_flight = []  # edits handed out, waiting for their acknowledgement
        self.redeliver = False
        self.acks = []
        self.busy_seconds = 0.0


def relay(client, upstream):
    """Copies bytes both ways until each side has ended its half."""
    def pump(source, sink):
        try:
            while True:
                data = source.recv(65536)
                if not data:
                    break
                sink.sendall(data)
        except OSError:
            pass
        finally:
            try:
                sink.shutdown(socket.SHUT_WR)
            except OSError:
                pass
    back = threading.Thread(target=pump, args=(upstream, client), daemon=True)
    back.start()
    pump(client, upstream)
    back.join()
    upstream.close()


class Answer:
    def __init__(self, status=200, body=b"", reason=None, chunked=False, drop=False, headers=None):
        self.status, self.body, self.reason = status, body, reason
        self.chunked, self.drop = chunked, drop
        self.headers = headers or []
        self.trickle_interval = None  # seconds between the bytes of a trickled answer


class WebService:
    """The operations of the service, each turning a parsed request into an Answer."""

    def __init__(self, state):
        self.state = state

    def answer_post(self, operation, fields):
        if operation in ("SendData", "AckFromDesktop"):
            return self.take_envelope(operation, fields)
        if operation == "GetDataForDesktop":
            return self.result_answer(operation, self.next_for_desktop())
        if operation == "GetDataTest":
            return self.result_answer(operation, "ok")
        return Answer(500, soap11_fault("Unknown operation %s" % operation))

    def take_envelope(self, operation, fields):
        record = {"operation": operation, "desktopId": fields.get("DesktopID"), "plain": None,
                  "error": None}
        try:
            plain = Envelope.open("WEBSERVICE", fields.get("DataBuffer") or "", framed=True)
            record["plain"] = base64.b64encode(plain).decode("ascii")
        except EnvelopeError as error:
            record["error"] = str(error)
        with self.state.lock:
            self.state.received.append(record)
            if operation == "SendData" and not record["error"]:
                self.feed_device(plain)
            if operation == "AckFromDesktop" and not record["error"]:
                self.take_ack(plain)
        if record["error"]:
            return Answer(500, soap11_fault("Invalid DataBuffer: " + record["error"]))
        return self.result_answer(operation, "true")

    def feed_device(self, plain):
        """The device side checks every message; what it refuses is kept for the test to see."""
        try:
            self.state.device.receive(plain)
        except DeviceError as error:
            self.state.device_errors.append(str(error))
        self.state.save_device()

    def take_ack(self, plain):
        """One acknowledgement record: the device learns the outcome of its edit."""
        try:
            if len(plain) < 16:
                raise DeviceError("acknowledgement of %d bytes" % len(plain))
            profile_id, source, index, code, size = struct.unpack_from("<iiihH", plain)
            if size % 2 or len(plain) != 16 + size:
                raise DeviceError("acknowledgement text of %d bytes in a record of %d" % (size, len(plain)))
            text = plain[16:].decode("utf-16-le", errors="surrogatepass")
        except DeviceError as error:
            self.state.device_errors.append(str(error))
            return
        self.state.acks.append({"profile": profile_id, "source": source, "index": index, "code": code,
                                "text": text})
        key = (profile_id, source, index)
        for edit in self.state.in_flight:
            if edit[2] == key:
                self.state.in_flight.remove(edit)
                if code == 1 and text == "Synced":
                    self.state.device.take_edit(edit[1], *key, edit[3])
                return

    def next_for_desktop(self):
        with self.state.lock:
            entry = self.state.queue.pop(0) if self.state.queue else None
            edits = [] if entry is not None else self.state.edits
            if edits:
                self.state.edits = []
                self.state.in_flight.extend(edits)
            if entry is None and self.state.redeliver:
                edits = list(self.state.in_flight)
        if edits:
            stream = b"\x01" + b"".join(edit[0] for edit in edits) + b"\x00\x00"
            return Envelope.seal("DESKTOP", stream, framed=False)
        if entry is None:
            return Envelope.seal("DESKTOP", b"\x01\x00\x00", framed=False)
        if "raw" in entry:
            return entry["raw"]
        return Envelope.seal("DESKTOP", base64.b64decode(entry["stream"]), framed=False)

    @staticmethod
    def result_answer(operation, text):
        return Answer(200, soap_answer('<%sResponse xmlns="%s"><%sResult>%s</%sResult></%sResponse>'
                                       % (operation, SERVICE_NS, operation, xml_escape(text),
                                          operation, operation)))

    @staticmethod
    def get_data_test_answer(text="ok"):
        return Answer(200, ('<?xml version="1.0" encoding="utf-8"?>\r\n<string xmlns="%s">%s</string>'
                            % (SERVICE_NS, xml_escape(text))).encode("utf-8"))

    def apply_fault(self, operation, normal, is_get):
        with self.state.lock:
            stored = self.state.faults.get(operation, {})
            if stored.get("after", 0) > 0:
                stored["after"] -= 1
                stored = {}
            fault = dict(stored)
        kind = fault.get("kind", "none")
        element = "%sResult" % operation
        wrap = (lambda inner: soap_answer('<%sResponse xmlns="%s">%s</%sResponse>'
                                          % (operation, SERVICE_NS, inner, operation)))
        if kind == "none":
            return normal()
        if kind == "http500":
            return Answer(500, soap11_fault(fault.get("reason", "Server error")),
                          reason="Internal Server Error")
        if kind == "status":
            return Answer(fault["status"], fault.get("text", "").encode("utf-8"),
                          reason=fault.get("reasonPhrase"))
        if kind == "soapFault":
            return Answer(200, soap11_fault(fault.get("reason", "Server error")))
        if kind == "soap12Fault":
            return Answer(200, soap12_fault(fault.get("reason", "Server error")))
        if kind == "noResult":
            return Answer(200, wrap(""))
        if kind == "emptyResult":
            return Answer(200, wrap("<%s />" % element))
        if kind == "unclosedResult":
            return Answer(200, wrap("<%s>%s" % (element, fault.get("text", "dGV4dA=="))))
        if kind == "result":
            if is_get:
                return self.get_data_test_answer(fault.get("text", ""))
            return Answer(200, wrap("<%s>%s</%s>" % (element, fault.get("text", ""), element)))
        if kind == "delay":
            time.sleep(float(fault.get("seconds", 1)))
            return normal()
        if kind == "holdAnswer":
            answer = normal()
            time.sleep(float(fault.get("seconds", 1)))
            return answer if fault.get("answer", True) else Answer(drop=True)
        if kind == "drop":
            return Answer(drop=True)
        if kind == "chunked":
            answer = normal()
            answer.chunked = True
            return answer
        if kind == "oversize":
            answer = normal()
            answer.body += b" " * max(0, int(fault["bytes"]) - len(answer.body))
            answer.chunked = True
            return answer
        if kind == "trickle":
            answer = normal()
            answer.trickle_interval = float(fault.get("interval", 0.5))
            return answer
        if kind == "silent":
            time.sleep(float(fault.get("seconds", 3600)))
            return Answer(drop=True)
        return Answer(500, soap11_fault("Unknown fault kind %s" % kind))


class HostedPages:
    """The pages under /iPhoneSTarnwickPWPLite/, over the register of desktop names."""

    FOLDER = "/iPhoneSTarnwickPWPLite/"
    NAMES = ("AddNewDesktop.asp", "DeleteDesktop.asp", "UniqueDesktopName.asp")

    def __init__(self, state):
        self.state = state

    @classmethod
    def page_of(cls, path):
        if not path.startswith(cls.FOLDER):
            return None
        page = path[len(cls.FOLDER):]
        return page if page in cls.NAMES else None

    def answer(self, page, query):
        fields = {name: values[0] for name, values in
                  urllib.parse.parse_qs(query, keep_blank_values=True, strict_parsing=False).items()}
        name = fields.get("DesktopName", "")
        with self.state.lock:
            held = name in self.state.pages
            if page == "AddNewDesktop.asp":
                if held:
                    return self.text("InvalidDesktopName")
                self.state.pages[name] = fields
                return self.text("Success")
            if page == "DeleteDesktop.asp":
                if not held:
                    return self.text("InvalidDesktopName")
                del self.state.pages[name]
                return self.text("Success")
            return self.text("Taken" if held else "Valid")

    @staticmethod
    def text(words):
        answer = Answer(200, words.encode("utf-8"))
        answer.headers = [("Content-Type", "text/html")]
        return answer

    def apply_fault(self, page, query):
        with self.state.lock:
            fault = dict(self.state.faults.get(page, {}))
        kind = fault.get("kind", "none")
        if kind == "result":
            return self.text(fault.get("text", ""))
        if kind == "status":
            return Answer(fault["status"], fault.get("text", "").encode("utf-8"), reason=fault.get("reasonPhrase"))
        if kind == "drop":
            return Answer(drop=True)
        answer = self.answer(page, query)
        if kind == "delay":
            time.sleep(float(fault.get("seconds", 1)))
        answer.chunked = kind == "chunked"
        return answer


def parse_soap_request(body):
    """The operation name and its child texts, from a well-formed SOAP 1.1 request."""
    root = ElementTree.fromstring(body)
    if root.tag != "{%s}Envelope" % SOAP_NS:
        raise ValueError("not a SOAP 1.1 envelope")
    soap_body = root.find("{%s}Body" % SOAP_NS)
    if soap_body is None or len(soap_body) != 1:
        raise ValueError("the body must hold one operation")
    call = soap_body[0]
    match = re.fullmatch(r"\{%s\}(\w+)" % SERVICE_NS, call.tag)
    if not match:
        raise ValueError("operation outside the service namespace: %s" % call.tag)
    fields = {}
    for child in call:
        fields[child.tag.split("}")[-1]] = child.text or ""
    return match.group(1), fields


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "WebServiceDouble"

    def log_message(self, *args):
        pass  # standard output carries the control answers

    @property
    def state(self):
        return self.server.state

    def setup(self):
        if isinstance(self.request, ssl.SSLSocket):
            self.request.do_handshake()  # here, so a slow or refusing client holds up no other
        super().setup()

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def record(self, body, proxied):
        with self.state.lock:
            self.state.requests.append({
                "requestLine": self.requestline,
                "headers": [[name, value] for name, value in self.headers.items()],
                "body": base64.b64encode(body).decode("ascii"),
                "proxied": proxied,
            })

    def target_path(self):
        """The path of the request and whether it came as a proxy request."""
        if self.path.startswith("http://") or self.path.startswith("https://"):
            return urllib.parse.urlsplit(self.path).path, True
        return urllib.parse.urlsplit(self.path).path, False

    def proxy_refuses(self, proxied):
        with self.state.lock:
            credentials = self.state.proxy_credentials
            methods = self.state.proxy_methods
        if not proxied or credentials is None or self.command not in methods:
            return False
        expected = "Basic " + base64.b64encode(("%s:%s" % credentials).encode("utf-8")).decode("ascii")
        if self.headers.get("Proxy-Authorization") == expected:
            return False
        self.send(Answer(407, b"Proxy credentials required", reason="Proxy Authentication Required",
                         headers=[("Proxy-Authenticate", 'Basic realm="double"')]))
        return True

    def do_CONNECT(self):
        """A tunnel to the named host and port, for https addresses spoken to through the proxy."""
        self.record(b"", True)
        if self.proxy_refuses(True):
            return
        host, _, port = self.path.rpartition(":")
        try:
            upstream = socket.create_connection((host, int(port)), timeout=10)
        except (OSError, ValueError):
            self.send(Answer(502, b"No tunnel", reason="Bad Gateway"))
            return
        self.send_response(200, "Connection established")
        self.end_headers()
        self.close_connection = True
        relay(self.connection, upstream)

    def relays(self, proxied, body):
        """Passes a proxy request for another loopback port on to it, and its answer back."""
        if not proxied:
            return False
        target = urllib.parse.urlsplit(self.path)
        # Any other host name is served here, as if the proxy had resolved it to this double.
        if target.hostname != "127.0.0.1" or (target.port or 80) == self.server.server_address[1]:
            return False
        headers = {name: value for name, value in self.headers.items()
                   if not name.lower().startswith("proxy-") and name.lower() != "connection"}
        connection = http.client.HTTPConnection(target.hostname, target.port or 80, timeout=60)
        try:
            path = target.path + ("?" + target.query if target.query else "")
            connection.request(self.command, path, body=body if self.command == "POST" else None, headers=headers)
            reply = connection.getresponse()
            answer = Answer(reply.status, reply.read(), reason=reply.reason,
                            headers=[(name, value) for name, value in reply.getheaders()
                                     if name.lower() not in ("content-length", "transfer-encoding",
                                                             "connection", "content-type", "server", "date")])
        except OSError:
            answer = Answer(502, b"Bad Gateway", reason="Bad Gateway")
        finally:
            connection.close()
        self.send(answer)
        return True

    def do_GET(self):
        path, proxied = self.target_path()
        self.record(b"", proxied)
        if self.proxy_refuses(proxied) or self.relays(proxied, b""):
            return
        page = HostedPages.page_of(path)
        if page:
            self.send(HostedPages(self.state).apply_fault(page, urllib.parse.urlsplit(self.path).query))
            return
        if not path.endswith("service.asmx/GetDataTest"):
            self.send(Answer(404, b"Not found", reason="Not Found"))
            return
        service = WebService(self.state)
        self.send(service.apply_fault("GetDataTest", service.get_data_test_answer, is_get=True))

    def do_POST(self):
        path, proxied = self.target_path()
        body = self.read_body()
        started = time.perf_counter()
        try:
            self.answer_post(path, proxied, body)
        finally:
            with self.state.lock:
                self.state.busy_seconds += time.perf_counter() - started

    def answer_post(self, path, proxied, body):
        self.record(body, proxied)
        if self.proxy_refuses(proxied) or self.relays(proxied, body):
            return
        if not path.endswith("service.asmx"):
            self.send(Answer(404, b"Not found", reason="Not Found"))
            return
        if not (self.headers.get("Content-Type") or "").startswith("text/xml"):
            self.send(Answer(415, soap11_fault("Content-Type must be text/xml")))
            return
        try:
            operation, fields = parse_soap_request(body)
        except (ElementTree.ParseError, ValueError) as error:
            self.send(Answer(400, soap11_fault("Malformed request: %s" % error), reason="Bad Request"))
            return
        service = WebService(self.state)
        self.send(service.apply_fault(operation, lambda: service.answer_post(operation, fields),
                                      is_get=False))

    def send(self, answer):
        if answer.drop:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if answer.trickle_interval is not None:
            self.trickle(answer)
            return
        self.send_response(answer.status, answer.reason)
        if not any(name.lower() == "content-type" for name, _ in answer.headers):
            self.send_header("Content-Type", "text/xml; charset=utf-8")
        for name, value in answer.headers:
            self.send_header(name, value)
        if answer.chunked:
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            size = 100 if len(answer.body) < 10000 else 1 << 20
            for start in range(0, len(answer.body), size):
                piece = answer.body[start:start + size]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.write(b"0\r\n\r\n")
        else:
            self.send_header("Content-Length", str(len(answer.body)))
            self.end_headers()
            self.wfile.write(answer.body)

    def trickle(self, answer):
        self.close_connection = True
        head = ("HTTP/1.1 %d OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: %d\r\n\r\n"
                % (answer.status, len(answer.body))).encode("ascii")
        for byte in head + answer.body:
            self.wfile.write(bytes([byte]))
            time.sleep(answer.trickle_interval)


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, state, tls_context):
        super().__init__(("127.0.0.1", 0), Handler)
        self.state = state
        self.tls_context = tls_context

    def get_request(self):
        connection, address = self.socket.accept()
        if self.tls_context is not None:
            connection = self.tls_context.wrap_socket(connection, server_side=True,
                                                      do_handshake_on_connect=False)
        return connection, address

    def handle_error(self, request, client_address):
        # A client that refuses the certificate or goes away mid-answer is what some tests do.
        if not isinstance(sys.exc_info()[1], (ssl.SSLError, ConnectionError)):
            super().handle_error(request, client_address)


class Certificates:
    """The TLS material of one run, in a folder of its own that is removed at the end."""

    def __init__(self, kind):
        self.folder = tempfile.mkdtemp(prefix="webservice_double_")
        server_key = ec.generate_private_key(ec.SECP256R1())
        if kind == "authority":
            authority_key = ec.generate_private_key(ec.SECP256R1())
            authority_name = self.name("Web service double test authority")
            authority = self.build(authority_name, authority_key, authority_name, authority_key, True)
            self.authority_file = self.write("authority.pem", self.pem(authority))
            server = self.build(self.name("127.0.0.1"), server_key, authority_name, authority_key, False)
        else:
            self.authority_file = None
            server = self.build(self.name("127.0.0.1"), server_key, self.name("127.0.0.1"), server_key, False)
        key = server_key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                                       serialization.NoEncryption())
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(self.write("server.pem", self.pem(server)), self.write("server.key", key))

    @staticmethod
    def name(common_name):
        return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, common_name)])

    @staticmethod
    def pem(certificate):
        return certificate.public_bytes(serialization.Encoding.PEM)

    @staticmethod
    def build(subject, subject_key, issuer, issuer_key, is_authority):
        now = datetime.datetime.now(datetime.timezone.utc)
        builder = (x509.CertificateBuilder().subject_name(subject).issuer_name(issuer)
                   .public_key(subject_key.public_key()).serial_number(x509.random_serial_number())
                   .not_valid_before(now - datetime.timedelta(hours=1))
                   .not_valid_after(now + datetime.timedelta(days=1))
                   .add_extension(x509.BasicConstraints(ca=is_authority, path_length=None), critical=True)
                   .add_extension(x509.SubjectKeyIdentifier.from_public_key(subject_key.public_key()),
                                  critical=False)
                   .add_extension(x509.AuthorityKeyIdentifier.from_issuer_public_key(issuer_key.public_key()),
                                  critical=False))
        if is_authority:
            builder = builder.add_extension(
                x509.KeyUsage(digital_signature=False, content_commitment=False, key_encipherment=False,
                              data_encipherment=False, key_agreement=False, key_cert_sign=True,
                              crl_sign=True, encipher_only=False, decipher_only=False), critical=True)
        else:
            builder = builder.add_extension(
                x509.SubjectAlternativeName([x509.IPAddress(ipaddress.ip_address("127.0.0.1")),
                                             x509.DNSName("localhost")]), critical=False)
        return builder.sign(issuer_key, hashes.SHA256())

    def write(self, file_name, data):
        path = os.path.join(self.folder, file_name)
        with open(path, "wb") as file:
            file.write(data)
        return path

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


class Control:
    """The command loop on standard input."""

    def __init__(self, state):
        self.state = state
        self.stalled = []  # listening sockets whose queue is full, with what fills it

    def run(self, server):
        for line in sys.stdin:
            line = line.strip()
            if not line:
                continue
            try:
                reply = self.execute(json.loads(line))
            except Exception as error:  # a bad command is answered, never fatal
                reply = {"ok": False, "error": "%s: %s" % (type(error).__name__, error)}
            print(json.dumps(reply), flush=True)
        server.shutdown()

    def execute(self, command):
        name = command["cmd"]
        state = self.state
        if name == "fault":
            with state.lock:
                state.faults[command["operation"]] = command
            return {"ok": True}
        if name == "proxy":
            with state.lock:
                state.proxy_credentials = ((command["user"], command["password"])
                                           if command.get("enabled", True) else None)
                state.proxy_methods = command.get("methods", ["GET", "POST"])
            return {"ok": True}
        if name == "queue":
            with state.lock:
                state.queue.append(command)
            return {"ok": True}
        if name == "received":
            with state.lock:
                return {"ok": True, "received": list(state.received)}
        if name == "device":
            with state.lock:
                return {"ok": True, "device": device_view(state.device), "errors": list(state.device_errors)}
        if name == "deviceEdit":
            key = (command["profile"], command["source"], command["index"])
            with state.lock:
                message, record = state.device.edit_message(command["operation"], *key, command.get("values"))
                state.edits.extend([(message, command["operation"], key, record)] * command.get("copies", 1))
            return {"ok": True}
        if name == "redeliver":
            with state.lock:
                state.redeliver = bool(command.get("enabled", True))
            return {"ok": True}
        if name == "acks":
            with state.lock:
                return {"ok": True, "acks": list(state.acks)}
        if name == "seedProfile":
            records = {(r["source"], r["index"]): bytes.fromhex(r["hex"]) for r in command["records"]}
            with state.lock:
                state.device.seed_profile(command["profile"], command["kinds"], records)
            return {"ok": True}
        if name == "requests":
            with state.lock:
                return {"ok": True, "requests": list(state.requests)}
        if name == "busy":
            with state.lock:
                return {"ok": True, "seconds": state.busy_seconds}
        if name == "seal":
            optional = {key: bytes.fromhex(command[key]) for key in ("salt", "iv") if key in command}
            return {"ok": True, "envelope": Envelope.seal(command["label"],
                                                          base64.b64decode(command["plain"]),
                                                          command.get("framed", True),
                                                          index=command.get("index"), **optional)}
        if name == "open":
            try:
                plain = Envelope.open(command["label"], command["envelope"], command.get("framed", True))
            except EnvelopeError as error:
                return {"ok": False, "error": str(error)}
            return {"ok": True, "plain": base64.b64encode(plain).decode("ascii")}
        if name == "pages":
            with state.lock:
                return {"ok": True, "pages": dict(state.pages)}
        if name == "enterDesktop":
            with state.lock:
                state.pages[command["name"]] = {"DesktopName": command["name"]}
            return {"ok": True}
        if name == "stalledPort":
            return {"ok": True, "port": self.stalled_port()}
        if name == "reset":
            with state.lock:
                state.reset()
            return {"ok": True}
        return {"ok": False, "error": "unknown command %s" % name}

    def stalled_port(self):
        """A listener that never accepts, with its queue of one filled: the system drops every
        further connection attempt, as a black-holed route would."""
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(0)
        filler = socket.create_connection(listener.getsockname())
        self.stalled.append((listener, filler))
        return listener.getsockname()[1]


def json_value(value):
    if isinstance(value, (bytes, bytearray)):
        return value.hex()
    if isinstance(value, (list, tuple)):
        return [json_value(item) for item in value]
    if isinstance(value, dict):
        return {str(key): json_value(item) for key, item in value.items()}
    return value


def device_view(device):
    """The model as JSON: records as lists of {source, index, hex, values}."""
    profiles = {}
    for profile_id, profile in device.profiles.items():
        view = {key: json_value(item) for key, item in profile.items() if key != "records"}
        values = device.record_values(profile_id)
        view["records"] = [{"source": source, "index": index, "hex": data.hex(),
                            "values": json_value(values[(source, index)])}
                           for (source, index), data in sorted(profile["records"].items())]
        profiles[str(profile_id)] = view
    return {"profiles": profiles, "forms": json_value(device.forms), "log": json_value(device.log)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tls", choices=["authority", "self-signed"])
    parser.add_argument("--device-file")
    options = parser.parse_args()
    certificates = Certificates(options.tls) if options.tls else None
    state = ServiceState(options.device_file)
    server = Server(state, certificates.context if certificates else None)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    hello = {"port": server.server_address[1]}
    if certificates and certificates.authority_file:
        hello["authority"] = certificates.authority_file
    print(json.dumps(hello), flush=True)
    try:
        Control(state).run(server)
    finally:
        if certificates:
            certificates.remove()


if __name__ == "__main__":
    main()
