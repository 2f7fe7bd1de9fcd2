"""The device side of the message stream, for the test doubles.

A device model takes the plain message buffers that the desktop hands the web service (one
buffer per SendData call), decodes every message strictly and keeps what a handheld would hold:
profiles with their header, columns, sort order, key columns and records keyed by (record
source, record index), and forms with their form-level values and tabs. Anything a device could
misread fails loudly: an unknown type, trailing bytes, a record added under a key the device
holds, a strip mixed with other messages, a bunch past the limits. A profile, form or record
deleted that the device does not hold is no error: the desktop cannot know whether its add went
out when no answer came, and it deletes what is in doubt before it adds the row again. Written from the message
formats alone; it shares no code with the desktop.

The other way, users edit records on the device: each edit becomes a message of the stream the
desktop fetches (added, updated, deleted), and the device takes the edit into what it holds once
the desktop acknowledges it with "Synced".
"""

import struct

STRIP_LIMIT = 1024 * 1024
BUNCH_MESSAGES = 100
HEADER_SIZE = 112

ADD_PROFILE, DELETE_PROFILE, RECORD_ADDED, RECORD_DELETED, PROFILE_STRIP = 1, 2, 3, 5, 6
RECORD_UPDATED = 4  # only from the devices
FINISH_PROFILE, ADD_FORM, DELETE_FORM, FORM_STRIP, FINISH_FORM = 16, 21, 22, 23, 24
STRIP_TYPES = (PROFILE_STRIP, FORM_STRIP)

TEXT_KINDS = (1, 2)
FIXED_SIZES = {4: 4, 5: 2, 7: 4, 8: 8, 9: 16, 10: 16, 93: 16, -6: 1, -7: 1}


class DeviceError(ValueError):
    pass


class Reader:
    """Fields from the left of a byte string; reading past its end is a DeviceError."""

    def __init__(self, data, position=0):
        self.data = data
        self.position = position

    def take(self, count):
        if count < 0 or self.position + count > len(self.data):
            raise DeviceError("message cut short at byte %d (wanted %d more)" % (self.position, count))
        chunk = self.data[self.position:self.position + count]
        self.position += count
        return chunk

    def unpack(self, fmt):
        return struct.unpack(fmt, self.take(struct.calcsize(fmt)))[0]

    def u16le(self):
        return self.unpack("<H")

    def u16be(self):
        return self.unpack(">H")

    def i16be(self):
        return self.unpack(">h")

    def i32le(self):
        return self.unpack("<i")

    def i32be(self):
        return self.unpack(">i")

    def u32be(self):
        return self.unpack(">I")

    def text(self, count):
        if count % 2:
            raise DeviceError("odd byte count %d for a UTF-16 text" % count)
        return self.take(count).decode("utf-16-le", errors="surrogatepass")

    def text_le(self):
        return self.text(self.u16le())

    def text_be(self):
        return self.text(self.u16be())

    def zero_text(self):
        units = []
        while True:
            unit = self.u16le()
            if unit == 0:
                return struct.pack("<%dH" % len(units), *units).decode("utf-16-le", errors="surrogatepass")
            units.append(unit)

    def at_end(self):
        return self.position == len(self.data)


def decode_record(record, kinds):
    """The values of a DeviceRecord whose offsets belong, in order, to columns of `kinds`."""
    reader = Reader(record)
    offsets = [reader.u16be() for _ in kinds]
    if offsets and offsets[0] != 2 * len(kinds):
        raise DeviceError("record offset table does not match %d columns" % len(kinds))
    values = []
    for kind, offset in zip(kinds, offsets):
        field = Reader(record, offset)
        if kind in TEXT_KINDS:
            values.append(field.zero_text() or None)
        elif kind == 4:
            values.append(field.unpack(">i"))
        elif kind == 5:
            values.append(field.unpack(">h"))
        elif kind == 7:
            values.append(field.unpack(">f"))
        elif kind == 8:
            values.append(field.unpack(">d"))
        elif kind in (9, 10, 93):
            stamp = struct.unpack(">hHHHHHI", field.take(16))
            values.append(None if not any(stamp) else stamp)
        elif kind in (-6, -7):
            values.append(field.take(1)[0])
        else:
            raise DeviceError("column kind %d cannot travel" % kind)
    return values


def encode_record(values, kinds):
    """A DeviceRecord of `values` for columns of `kinds`: texts as strings (None for NULL),
    numbers as numbers, dates and times as [year, month, day, hour, minute, second, fraction]."""
    if len(values) != len(kinds):
        raise DeviceError("%d values for %d columns" % (len(values), len(kinds)))
    fields = []
    for kind, value in zip(kinds, values):
        if kind in TEXT_KINDS:
            fields.append((value or "").encode("utf-16-le", errors="surrogatepass") + b"\0\0")
        elif kind == 4:
            fields.append(struct.pack(">i", value or 0))
        elif kind == 5:
            fields.append(struct.pack(">h", value or 0))
        elif kind == 7:
            fields.append(struct.pack(">f", value or 0))
        elif kind == 8:
            fields.append(struct.pack(">d", value or 0))
        elif kind in (9, 10, 93):
            fields.append(struct.pack(">hHHHHHI", *(value or [0] * 7)))
        elif kind in (-6, -7):
            fields.append(bytes([value or 0]))
        else:
            raise DeviceError("column kind %d cannot travel" % kind)
    offsets, position = [], 2 * len(kinds)
    for field in fields:
        offsets.append(position)
        position += len(field)
    return struct.pack(">%dH" % len(offsets), *offsets) + b"".join(fields)


def decode_header(data):
    name = data[:64].decode("utf-16-le", errors="surrogatepass").split("\0")[0]
    if b"\0\0" not in [data[i:i + 2] for i in range(0, 64, 2)]:
        raise DeviceError("database name without its terminating zero")
    attributes, version, created, modified = struct.unpack(">HHII", data[64:76])
    if data[84:88] != struct.pack(">I", HEADER_SIZE) or data[92:100] != b"MORVTWKL":
        raise DeviceError("device database header without its length or codes")
    if any(data[76:84]) or any(data[88:92]) or any(data[100:112]):
        raise DeviceError("device database header with bytes where zeros belong")
    return {"name": name, "attributes": attributes, "version": version, "created": created, "modified": modified}


def decode_layout(block):
    reader = Reader(block)
    count = reader.u16be()
    offsets = [reader.u16be() for _ in range(count)]
    columns = []
    for offset in offsets:
        entry = Reader(block, offset)
        columns.append({"kind": entry.i16be(), "size": entry.u16be(), "digits": entry.u16be(),
                        "name": entry.zero_text()})
    return columns


def decode_sort(reader):
    length = reader.u16be()
    block = Reader(reader.take(length))
    sorts = []
    for _ in range(block.u16be()):
        name_bytes = block.u16be()
        name = block.text(name_bytes - 2)
        if block.u16le() != 0:
            raise DeviceError("sort column name without its terminating zero")
        sorts.append({"name": name, "direction": block.u16be(), "type": block.u16be()})
    if not block.at_end():
        raise DeviceError("trailing bytes in the sort block")
    return sorts


def decode_indexes(reader):
    return [reader.u16be() for _ in range(reader.u16be())]


def decode_form_level(reader):
    form = {"groups": [], "defaults": []}
    for _ in range(reader.u16be()):
        form["groups"].append({"name": reader.text_be(), "column": reader.text_be()})
    form["height"], form["width"], form["fontSize"] = reader.i32be(), reader.i32be(), reader.i32be()
    form["colour"] = (reader.u16be(), reader.u16be(), reader.u16be())
    for _ in range(reader.u16be()):
        form["defaults"].append({"field": reader.text_be(), "value": reader.text_be()})
    return form


def decode_control(reader):
    control = {}
    for name in ("x", "y", "width", "height", "fontSize", "fontStyle"):
        control[name] = reader.i32le()
    for name in ("txtR", "txtG", "txtB", "visible", "fontFace"):
        control[name] = reader.u16be()
    if reader.take(8) != bytes(8):
        raise DeviceError("control with bytes where zeros belong")
    kind = control["type"] = reader.i32le()
    if kind == 1:
        control.update(caption=reader.text_le(), align=reader.u16be())
    elif kind == 2:
        control.update(column=reader.text_le(), default=reader.text_le(), readOnly=reader.u16be())
    elif kind == 3:
        for name in ("column", "caption", "default", "unchecked", "checked"):
            control[name] = reader.text_le()
        control.update(disabled=reader.u16be(), rect=reader.u32be(), mark=reader.u32be())
    elif kind == 4:
        control.update(column=reader.text_le(), itemEdit=reader.u16be(), disabled=reader.u16be(),
                       source=reader.u16be())
        if control["source"] == 1:
            control["default"] = reader.text_le()
            control["items"] = [reader.text_le() for _ in range(reader.u16le())]
        elif control["source"] == 2:
            control.update(lookupProfile=reader.i32be(), lookupColumn=reader.text_le(),
                           lookupView=reader.text_le())
    elif kind == 5:
        control.update(caption=reader.text_le(), action=reader.text_le(), disabled=reader.u16be(),
                       background=(reader.u16be(), reader.u16be(), reader.u16be()))
        if control["action"] == "Go To Form":
            control["links"] = [(reader.text_le(), reader.text_le(), reader.text_le())
                                for _ in range(reader.u16le())]
    elif kind == 6:
        control.update(column=reader.text_le(), format=reader.u16be(), disabled=reader.u16be())
    elif kind == 7:
        control.update(caption=reader.text_le(), selected=reader.u16be(), group=reader.text_le(),
                       disabled=reader.u16be(), rect=reader.u32be(), mark=reader.u32be())
    elif kind in (8, 9):
        control.update(formula=reader.text_le(), isDataColumn=reader.u16be())
        if control["isDataColumn"]:
            control["column"] = reader.text_le()
    return control


def decode_tab(record):
    reader = Reader(record)
    tab = {"id": reader.i32le(), "title": reader.text_le()}
    tab["controls"] = [decode_control(reader) for _ in range(reader.i32le())]
    if not reader.at_end():
        raise DeviceError("trailing bytes in tab %d" % tab["id"])
    return tab


class DeviceModel:
    """What the devices hold, built from the buffers the desktop sends."""

    def __init__(self):
        self.profiles = {}
        self.forms = {}
        self.log = []  # (type, id) of every message, in arrival order

    # --- seeding, for profiles already in step -------------------------------------------------
    def seed_profile(self, profile_id, kinds, records):
        """records: {(source, index): record bytes}."""
        self.profiles[profile_id] = {"columns": [{"kind": k} for k in kinds], "records": dict(records),
                                     "state": "finished", "header": None, "sort": [], "autoNumber": [],
                                     "keys": []}

    # --- edits made on the device, taken in when the desktop answers "Synced" ----------------
    def edit_message(self, operation, profile_id, source, index, values=None):
        """The stream message of an edit: "add" and "update" carry the record of `values`."""
        if operation == "delete":
            return struct.pack("<Hiii", RECORD_DELETED, profile_id, source, index), None
        profile = self.profile(profile_id)
        record = encode_record(values, [c["kind"] for c in profile["columns"]])
        kind = RECORD_ADDED if operation == "add" else RECORD_UPDATED
        # The big-endian word after the length is not read by the desktop.
        head = struct.pack("<Hiiii", kind, profile_id, source, index, len(record) + 4) + struct.pack(">i", 0)
        return head + record, record

    def take_edit(self, operation, profile_id, source, index, record):
        """The desktop applied the edit: the device holds the record as edited (a re-delivered
        add leaves one record)."""
        records = self.profile(profile_id)["records"]
        if operation == "delete":
            records.pop((source, index), None)
        else:
            records[(source, index)] = record

    def snapshot(self):
        return {"profiles": self.profiles, "forms": self.forms}

    def record_values(self, profile_id):
        """{(source, index): values} of a profile, decoded by its column kinds."""
        profile = self.profile(profile_id)
        kinds = [c["kind"] for c in profile["columns"]]
        return {key: decode_record(data, kinds) for key, data in profile["records"].items()}

    # --- one SendData buffer -------------------------------------------------------------------
    def receive(self, buffer):
        if len(buffer) < 2:
            raise DeviceError("a buffer without a message")
        first = struct.unpack_from("<H", buffer)[0]
        if first in STRIP_TYPES:
            self.receive_strip(first, buffer)
            return
        reader = Reader(buffer)
        count = 0
        record_messages = True
        while not reader.at_end():
            kind = reader.u16le()
            count += 1
            record_messages = record_messages and kind in (RECORD_ADDED, RECORD_DELETED)
            handler = self.HANDLERS.get(kind)
            if handler is None:
                raise DeviceError("message type %d in a buffer" % kind)
            handler(self, reader)
        if count > 1 and len(buffer) > STRIP_LIMIT:
            raise DeviceError("a buffer of %d messages holds %d bytes" % (count, len(buffer)))
        if record_messages and count > BUNCH_MESSAGES:
            raise DeviceError("a bunch of %d record messages" % count)

    def profile(self, profile_id):
        if profile_id not in self.profiles:
            raise DeviceError("profile %d is not on the device" % profile_id)
        return self.profiles[profile_id]

    def add_profile(self, reader):
        rest = reader.u16le()
        body = Reader(reader.take(rest))
        profile_id = body.i32be()
        header = decode_header(body.take(HEADER_SIZE))
        columns = decode_layout(body.take(body.u16be()))
        profile = {"header": header, "columns": columns, "sort": decode_sort(body),
                   "autoNumber": decode_indexes(body), "keys": decode_indexes(body),
                   "records": {}, "state": "adding"}
        if not body.at_end():
            raise DeviceError("trailing bytes in Add Profile %d" % profile_id)
        for index in profile["autoNumber"] + profile["keys"]:
            if index >= len(columns):
                raise DeviceError("key position %d past the %d columns" % (index, len(columns)))
        self.profiles[profile_id] = profile  # a profile the device holds is replaced
        self.log.append((ADD_PROFILE, profile_id))

    def delete_profile(self, reader):
        # A profile the device does not hold is already gone: the desktop cannot know whether its
        # Add Profile went out before the profile was removed or edited, and it sends a delete
        # again when it stopped between the send and moving the status flag.
        profile_id = reader.i32le()
        self.profiles.pop(profile_id, None)
        self.log.append((DELETE_PROFILE, profile_id))

    def finish_profile(self, reader):
        profile_id = reader.i32le()
        self.profile(profile_id)["state"] = "finished"
        self.log.append((FINISH_PROFILE, profile_id))

    def record_added(self, reader):
        profile_id = reader.i32le()
        length = reader.i32le()
        body = Reader(reader.take(length))
        source, index, _position = body.i32le(), body.i32le(), body.i32be()
        self.store_record(profile_id, source, index, body.take(length - 12))
        self.log.append((RECORD_ADDED, profile_id))

    def record_deleted(self, reader):
        profile_id, source, index = reader.i32le(), reader.i32le(), reader.i32le()
        self.profile(profile_id)["records"].pop((source, index), None)
        self.log.append((RECORD_DELETED, profile_id))

    def store_record(self, profile_id, source, index, data):
        profile = self.profile(profile_id)
        if (source, index) in profile["records"]:
            raise DeviceError("record %d#%d of profile %d added twice" % (source, index, profile_id))
        decode_record(data, [c["kind"] for c in profile["columns"]])
        profile["records"][(source, index)] = data

    def add_form(self, reader):
        form_id = reader.i32be()
        inner = Reader(reader.take(reader.u16le()))
        title = inner.text_le()
        form = decode_form_level(inner)
        if not inner.at_end():
            raise DeviceError("trailing bytes in Add Form %d" % form_id)
        form.update(title=title, profile=reader.i32be(), tabs=[], state="adding")
        self.forms[form_id] = form
        self.log.append((ADD_FORM, form_id))

    def form(self, form_id):
        if form_id not in self.forms:
            raise DeviceError("form %d is not on the device" % form_id)
        return self.forms[form_id]

    def delete_form(self, reader):
        # As with profiles: a form removed before its Add Form went out is already gone.
        form_id = reader.i32le()
        self.forms.pop(form_id, None)
        self.log.append((DELETE_FORM, form_id))

    def finish_form(self, reader):
        form_id = reader.i32le()
        self.form(form_id)["state"] = "finished"
        self.log.append((FINISH_FORM, form_id))

    # --- strips, each alone in its buffer ------------------------------------------------------
    def receive_strip(self, kind, buffer):
        reader = Reader(buffer, 2)
        if kind == PROFILE_STRIP:
            owner = reader.i32le()
            self.profile(owner)
        else:
            owner = reader.i32be()
            form = self.form(owner)
            if reader.i32le() == 1:
                form["tabs"] = []
        entries, ended = 0, False
        while not reader.at_end():
            length = reader.i32le()
            if length == 0:
                ended = True
                break
            entry = reader.take(length)
            entries += 1
            if kind == PROFILE_STRIP:
                body = Reader(entry)
                self.store_record(owner, body.i32le(), body.i32le(), entry[8:])
            else:
                self.form(owner)["tabs"].append(decode_tab(entry))
        if not reader.at_end():
            raise DeviceError("bytes after the end of a strip")
        if entries > 1 and len(buffer) > STRIP_LIMIT:
            raise DeviceError("a strip of %d entries holds %d bytes" % (entries, len(buffer)))
        self.log.append((kind, owner, entries, ended))

    HANDLERS = {ADD_PROFILE: add_profile, DELETE_PROFILE: delete_profile, RECORD_ADDED: record_added,
                RECORD_DELETED: record_deleted, FINISH_PROFILE: finish_profile, ADD_FORM: add_form,
                DELETE_FORM: delete_form, FINISH_FORM: finish_form}
