#!/usr/bin/python3
"""A stand-in for the hosted administration service, for the tests.

It serves SOAP 1.1 on 127.0.0.1 at a port the system picks, at "/AdminService/service.asmx",
and keeps the register of installed desktops. It decodes every DataBuffer record with its own
code and checks it strictly (application type 3, name "TarnwickPlus", device type 1, version
"1.0", every length exact, no byte left over, NoOfDevices 0, Content-Length equal to the body);
a request that fails a check is answered with HTTP 500 and its reason is kept under "errors".

Operations: GetDataTest by GET (".../service.asmx/GetDataTest") and by POST ("ok");
GetWebUrl answers status 0 and the web-service address set with "webServiceUrl";
InstallDesktop enters the DesktopID (status 0), or answers status 1 "already installed" when it
holds it; UninstallDesktop removes it and answers "Success", also when it does not hold it.

Control: one JSON object per line on standard input, one JSON answer per line on standard
output; the first line written is {"port": N}. End of input ends the double.

Commands ("cmd"):
  webServiceUrl {"url": text}     the address GetWebUrl hands out
  fault   {"operation": name, "kind": k, "count": n, ...} answers the next n calls of `name`
          (every call when "count" is absent) as k: none, http404, http500, soapFault (a SOAP
          fault with "reason" in a status-200 answer), noResult, emptyResult (self-closing),
          unclosedResult (start tag without end tag), refuse ("status", "message": a reply
          record of that status), shortRecord (a record under 4 bytes), overlongRecord (its
          length runs past its end), oddRecord (an odd text length), result ("text": the result
          text as it stands), chunked (no Content-Length), delay ("seconds", then the normal
          answer), drop (close without an answer)
  desktops   the register: {DesktopID: DeviceID}
  enter      {"desktop": id, "device": id} enters a desktop
  requests   every request as it arrived (request line, headers in order, body as base64) with
             what the double read of it ("operation", "desktopId", "record")
  errors     every check a request failed
  reset      clears faults, register, records
"""

import base64
import json
import re
import socket
import struct
import sys
import threading
import time
import xml.etree.ElementTree as ElementTree
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SOAP_NS = "http://schemas.xmlsoap.org/soap/envelope/"
SERVICE_NS = "AdminService"
SERVICE_PATH = "/AdminService/service.asmx"
APP_TYPE, APP_NAME, DEVICE_TYPE, VERSION = 3, "TarnwickPlus", 1, "1.0"


class RecordError(ValueError):
    pass


class RecordReader:
    """Reads a DataBuffer record field by field; every length is checked against what is there."""

    def __init__(self, data):
        self.data, self.offset = data, 0

    def take(self, count, what):
        if self.offset + count > len(self.data):
            raise RecordError("%s needs %d bytes at %d of %d" % (what, count, self.offset, len(self.data)))
        piece = self.data[self.offset:self.offset + count]
        self.offset += count
        return piece

    def byte(self, what):
        return self.take(1, what)[0]

    def uint16(self, what):
        return struct.unpack("<H", self.take(2, what))[0]

    def text(self, what):
        length = self.uint16(what + " length")
        if length % 2:
            raise RecordError("%s length %d is odd" % (what, length))
        return self.take(length, what).decode("utf-16-le")

    def end(self):
        if self.offset != len(self.data):
            raise RecordError("%d bytes left after the record" % (len(self.data) - self.offset))


def expect(value, wanted, what):
    if value != wanted:
        raise RecordError("%s is %r, not %r" % (what, value, wanted))


def read_record(operation, data):
    reader = RecordReader(data)
    record = {}
    if operation in ("GetWebUrl", "InstallDesktop"):
        expect(reader.byte("AppType"), APP_TYPE, "AppType")
        expect(reader.text("AppName"), APP_NAME, "AppName")
        expect(reader.byte("DeviceType"), DEVICE_TYPE, "DeviceType")
        if operation == "InstallDesktop":
            record["deviceId"] = reader.text("DeviceID")
        expect(reader.text("WebServiceVersion"), VERSION, "WebServiceVersion")
    elif operation == "UninstallDesktop":
        expect(reader.text("AppName"), APP_NAME, "AppName")
        expect(reader.uint16("NoOfDevices"), 0, "NoOfDevices")
    reader.end()
    return record


def reply_record(status, text):
    units = text.encode("utf-16-le")
    return struct.pack("<HH", status, len(units)) + units


def soap_answer(inner):
    return ('<?xml version="1.0" encoding="utf-8"?>'
            '<soap:Envelope xmlns:soap="%s" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"'
            ' xmlns:xsd="http://www.w3.org/2001/XMLSchema"><soap:Body>%s</soap:Body></soap:Envelope>'
            % (SOAP_NS, inner)).encode("utf-8")


def xml_escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def soap_fault(reason):
    return soap_answer('<soap:Fault><soap:Code><soap:Value>soap:Receiver</soap:Value></soap:Code>'
                       '<soap:Reason><soap:Text xml:lang="en">%s</soap:Text></soap:Reason></soap:Fault>'
                       % xml_escape(reason))


def wrapped(operation, inner):
    return soap_answer('<%sResponse xmlns="%s">%s</%sResponse>' % (operation, SERVICE_NS, inner, operation))


def result_body(operation, text):
    return wrapped(operation, "<%sResult>%s</%sResult>" % (operation, xml_escape(text), operation))


def record_body(operation, record):
    return result_body(operation, base64.b64encode(record).decode("ascii"))


class Answer:
    def __init__(self, status=200, body=b"", reason=None, chunked=False, drop=False):
        self.status, self.body, self.reason, self.chunked, self.drop = status, body, reason, chunked, drop


class ServiceState:
    def __init__(self):
        self.lock = threading.Lock()
        self.web_service_url = ""
        self.reset()

    def reset(self):
        self.faults = {}
        self.desktops = {}
        self.requests = []
        self.errors = []

    def take_fault(self, operation):
        """The fault for this call of `operation`, counting down a limited one."""
        with self.lock:
            fault = self.faults.get(operation)
            if fault is None:
                return {"kind": "none"}
            if "count" in fault:
                fault["count"] -= 1
                if fault["count"] <= 0:
                    del self.faults[operation]
            return dict(fault)


class AdminService:
    def __init__(self, state):
        self.state = state

    def answer(self, operation, fields, entry):
        if operation == "GetDataTest":
            return Answer(200, result_body(operation, "ok"))
        record = read_record(operation, base64.b64decode(fields.get("DataBuffer", ""), validate=True))
        entry["record"] = record
        desktop = fields.get("DesktopID", "")
        with self.state.lock:
            if operation == "GetWebUrl":
                return Answer(200, record_body(operation, reply_record(0, self.state.web_service_url)))
            if operation == "InstallDesktop":
                if desktop in self.state.desktops:
                    return Answer(200, record_body(operation, reply_record(1, "Desktop %s already installed" % desktop)))
                self.state.desktops[desktop] = record["deviceId"]
                return Answer(200, record_body(operation, reply_record(0, "Desktop installed")))
            self.state.desktops.pop(desktop, None)
            return Answer(200, result_body(operation, "Success"))

    @staticmethod
    def faulty(operation, fault, normal):
        kind = fault.get("kind", "none")
        element = "%sResult" % operation
        if kind == "none":
            return normal()
        if kind == "http404":
            return Answer(404, b"Not found", reason="Not Found")
        if kind == "http500":
            return Answer(500, soap_fault(fault.get("reason", "Server error")), reason="Internal Server Error")
        if kind == "soapFault":
            return Answer(200, soap_fault(fault.get("reason", "Server error")))
        if kind == "noResult":
            return Answer(200, wrapped(operation, ""))
        if kind == "emptyResult":
            return Answer(200, wrapped(operation, "<%s />" % element))
        if kind == "unclosedResult":
            return Answer(200, wrapped(operation, "<%s>AAAAAA==" % element))
        if kind == "refuse":
            return Answer(200, record_body(operation, reply_record(fault.get("status", 1), fault.get("message", ""))))
        if kind == "shortRecord":
            return Answer(200, record_body(operation, b"\x00\x00\x02"))
        if kind == "overlongRecord":
            return Answer(200, record_body(operation, struct.pack("<HH", 0, 40) + "abc".encode("utf-16-le")))
        if kind == "oddRecord":
            return Answer(200, record_body(operation, struct.pack("<HH", 0, 3) + b"abc"))
        if kind == "result":
            return Answer(200, wrapped(operation, "<%s>%s</%s>" % (element, fault.get("text", ""), element)))
        if kind == "chunked":
            answer = normal()
            answer.chunked = True
            return answer
        if kind == "delay":
            time.sleep(float(fault.get("seconds", 1)))
            return normal()
        if kind == "drop":
            return Answer(drop=True)
        return Answer(500, soap_fault("Unknown fault kind %s" % kind))


def parse_request(body):
    root = ElementTree.fromstring(body)
    if root.tag != "{%s}Envelope" % SOAP_NS:
        raise RecordError("not a SOAP 1.1 envelope")
    soap_body = root.find("{%s}Body" % SOAP_NS)
    if soap_body is None or len(soap_body) != 1:
        raise RecordError("the body must hold one operation")
    match = re.fullmatch(r"\{%s\}(\w+)" % SERVICE_NS, soap_body[0].tag)
    if not match:
        raise RecordError("operation outside the service namespace: %s" % soap_body[0].tag)
    return match.group(1), {child.tag.split("}")[-1]: child.text or "" for child in soap_body[0]}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "AdminServiceDouble"

    def log_message(self, *args):
        pass  # standard output carries the control answers

    @property
    def state(self):
        return self.server.state

    def path_only(self):
        path = self.path
        if path.startswith("http://"):
            path = "/" + path.split("/", 3)[3] if path.count("/") >= 3 else "/"
        return path.split("?")[0]

    def record(self, body):
        entry = {"requestLine": self.requestline,
                 "headers": [[name, value] for name, value in self.headers.items()],
                 "body": base64.b64encode(body).decode("ascii")}
        with self.state.lock:
            self.state.requests.append(entry)
        return entry

    def refuse(self, reason):
        with self.state.lock:
            self.state.errors.append(reason)
        self.send(Answer(500, soap_fault(reason), reason="Internal Server Error"))

    def do_GET(self):
        self.record(b"")
        if self.path_only() != SERVICE_PATH + "/GetDataTest":
            self.send(Answer(404, b"Not found", reason="Not Found"))
            return
        fault = self.state.take_fault("GetDataTest")
        self.send(AdminService.faulty("GetDataTest", fault, lambda: Answer(
            200, ('<?xml version="1.0" encoding="utf-8"?>\r\n<string xmlns="%s">ok</string>'
                  % SERVICE_NS).encode("utf-8"))))

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        entry = self.record(body)
        if self.path_only() != SERVICE_PATH:
            self.send(Answer(404, b"Not found", reason="Not Found"))
            return
        content_type = self.headers.get("Content-Type") or ""
        if not content_type.startswith("text/xml"):
            self.refuse("Content-Type %r is not text/xml" % content_type)
            return
        announced = re.search(r"Content-Length: (\d+)", content_type)
        if length != len(body) or (announced and int(announced.group(1)) != len(body)):
            self.refuse("Content-Length does not match the body of %d bytes" % len(body))
            return
        try:
            operation, fields = parse_request(body)
        except (ElementTree.ParseError, RecordError) as error:
            self.refuse("Malformed request: %s" % error)
            return
        entry["operation"], entry["desktopId"] = operation, fields.get("DesktopID")
        service = AdminService(self.state)
        fault = self.state.take_fault(operation)
        try:
            answer = service.faulty(operation, fault, lambda: service.answer(operation, fields, entry))
        except (RecordError, ValueError) as error:
            self.refuse("Invalid DataBuffer of %s: %s" % (operation, error))
            return
        self.send(answer)

    def send(self, answer):
        if answer.drop:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        self.send_response(answer.status, answer.reason)
        self.send_header("Content-Type", "text/xml; charset=utf-8")
        if answer.chunked:
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for start in range(0, len(answer.body), 100):
                piece = answer.body[start:start + 100]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.write(b"0\r\n\r\n")
        else:
            self.send_header("Content-Length", str(len(answer.body)))
            self.end_headers()
            self.wfile.write(answer.body)


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, state):
        super().__init__(("127.0.0.1", 0), Handler)
        self.state = state

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def execute(state, command):
    name = command["cmd"]
    with state.lock:
        if name == "webServiceUrl":
            state.web_service_url = command["url"]
            return {"ok": True}
        if name == "fault":
            if command.get("kind") == "none":
                state.faults.pop(command["operation"], None)
            else:
                state.faults[command["operation"]] = dict(command)
            return {"ok": True}
        if name == "desktops":
            return {"ok": True, "desktops": dict(state.desktops)}
        if name == "enter":
            state.desktops[command["desktop"]] = command.get("device", command["desktop"])
            return {"ok": True}
        if name == "requests":
            return {"ok": True, "requests": list(state.requests)}
        if name == "errors":
            return {"ok": True, "errors": list(state.errors)}
        if name == "reset":
            state.reset()
            return {"ok": True}
    return {"ok": False, "error": "unknown command %s" % name}


def main():
    state = ServiceState()
    server = Server(state)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(json.dumps({"port": server.server_address[1]}), flush=True)
    for line in sys.stdin:
        line = line.strip()
        if not line:
            continue
        try:
            reply = execute(state, json.loads(line))
        except Exception as error:  # a bad command is answered, never fatal
            reply = {"ok": False, "error": "%s: %s" % (type(error).__name__, error)}
        print(json.dumps(reply), flush=True)
    server.shutdown()


if __name__ == "__main__":
    main()
