#!/usr/bin/python3
"""pymodbus_tls_read.py PORT CERT KEY CA: one read of holding register 0 at
127.0.0.1:PORT over Modbus/TCP Security with pymodbus's TLS client, as
qelDrvModbus --read_u16 0 --tls does it; prints the value, status 0 on
success."""
import asyncio
import logging
import ssl
import sys

from pymodbus.client import AsyncModbusTlsClient
from pymodbus.transaction import ModbusSocketFramer


async def read(port, cert, key, ca):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
    context.minimum_version = ssl.TLSVersion.TLSv1_2
    context.check_hostname = False
    context.load_verify_locations(ca)
    context.load_cert_chain(cert, key)
    client = AsyncModbusTlsClient("127.0.0.1", port=port, framer=ModbusSocketFramer,
                                  sslctx=context, timeout=3)
    await client.connect()
    reply = await client.read_holding_registers(0, 1, slave=255)
    await client.close()
    if reply.isError():
        return 1
    print(reply.registers[0])
    return 0


logging.basicConfig(level=logging.CRITICAL)
sys.exit(asyncio.run(read(int(sys.argv[1]), *sys.argv[2:5])))
