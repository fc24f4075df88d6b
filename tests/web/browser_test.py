#!/usr/bin/env python3
"""The till's web pages in a real browser: the till runs under a virtual display and is driven
by keys, as an operator drives it; headless Chromium, driven over its DevTools protocol, opens
the kitchen, numbers and takings pages on 127.0.0.1.

    browser_test.py VORSA_EXECUTABLE
"""
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.request

import websocket  # Debian's python3-websocket

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.path.join(ROOT, 'build/bin/vorsa')
PIN_CUCINA, PIN_INCASSI = '4321', '98765'


def scrambled(pin, key='k4t2r9m5p3'):
    """The till's stored form of a PIN (any padding digits will do)."""
    padded = '1' * 15 + pin + '2' * 10
    return ''.join('%02X' % (ord(c) ^ ord(key[i % len(key)])) for i, c in enumerate(padded, 1))


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def wait_for(what, check, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        try:
            value = check()
        except RuntimeError:  # the page is still loading
            value = None
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError('timed out waiting for ' + what)
        time.sleep(0.1)


class Browser:
    """Headless Chromium and one DevTools session per page."""

    def __init__(self, folder):
        self.proc = subprocess.Popen(
            ['chromium', '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic',
             '--no-first-run', '--disable-background-networking', '--disable-component-update',
             '--disable-sync', '--autoplay-policy=no-user-gesture-required',
             '--remote-debugging-port=0', '--user-data-dir=' + folder, 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        url = None
        for line in self.proc.stderr:
            m = re.search(r'(ws://\S+)', line)
            if m:
                url = m.group(1)
                break
        if not url:
            raise RuntimeError('chromium gave no DevTools address')
        self.ws = websocket.create_connection(url, timeout=30, suppress_origin=True)
        self.next_id = 0

    def send(self, method, params=None, session=None):
        self.next_id += 1
        msg = {'id': self.next_id, 'method': method, 'params': params or {}}
        if session:
            msg['sessionId'] = session
        self.ws.send(json.dumps(msg))
        while True:
            reply = json.loads(self.ws.recv())
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise RuntimeError(str(reply['error']))
                return reply.get('result', {})

    def open(self, url):
        target = self.send('Target.createTarget', {'url': url})['targetId']
        return self.send('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']

    def js(self, session, expression):
        r = self.send('Runtime.evaluate', {'expression': expression, 'returnByValue': True,
                                           'awaitPromise': True}, session)
        if 'exceptionDetails' in r:
            raise RuntimeError(str(r['exceptionDetails']))
        return r['result'].get('value')

    def screenshot(self, session, name):
        """With VORSA_SCREENSHOTS set, the page as a PNG in that folder, to look at."""
        folder = os.environ.get('VORSA_SCREENSHOTS')
        if not folder:
            return
        import base64
        self.send('Emulation.setDeviceMetricsOverride', {'width': 1280, 'height': 720,
                                                         'deviceScaleFactor': 1, 'mobile': False}, session)
        png = self.send('Page.captureScreenshot', {'format': 'png'}, session)['data']
        with open(os.path.join(folder, name + '.png'), 'wb') as f:
            f.write(base64.b64decode(png))

    def close(self):
        try:
            self.ws.close()
        finally:
            self.proc.kill()
            self.proc.wait()


class WebPagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix='vorsa-web-')
        cls.port = free_port()
        cls.base = 'http://127.0.0.1:%d' % cls.port
        folder = os.path.join(cls.work, 'till')
        os.mkdir(folder)
        with open(os.path.join(ROOT, 'docs/guida/demo_Vorsa.ini'), 'rb') as f:
            ini = f.read()
        # Article 102 gets a name that is markup: every page must show it as text.
        ini = ini.replace(b'2=Patatine fritte;', b'2=<img src=x onerror=alert(1)>;')
        ini += ('[STAMPA]\r\nABILITATO=0\r\n[COMANDA]\r\nNUMERO=1\r\n[COMANDA1]\r\n'
                'NOME=Cucina\r\nABILITATO=1\r\nPRODOTTI=101;102;103\r\n'
                '[WEB]\r\nABILITATO=1\r\nPORTA=%d\r\nPIN_CUCINA=%s\r\nPIN_INCASSI=%s\r\n'
                % (cls.port, scrambled(PIN_CUCINA), scrambled(PIN_INCASSI))).encode()
        with open(os.path.join(folder, 'Vorsa.ini'), 'wb') as f:
            f.write(ini)
        read_fd, write_fd = os.pipe()
        cls.display = subprocess.Popen(['Xvfb', '-displayfd', str(write_fd), '-screen', '0',
                                        '1366x768x24', '-nolisten', 'tcp'], pass_fds=(write_fd,),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = f.readline().strip()
        cls.env = dict(os.environ, DISPLAY=':' + display, VORSA_CARTELLA=folder,
                       QT_QPA_PLATFORM='xcb')
        cls.log = open(os.path.join(cls.work, 'vorsa.log'), 'w')
        cls.till = subprocess.Popen([EXE], env=cls.env, stdout=cls.log, stderr=subprocess.STDOUT)
        try:
            # A sanitizer build on a busy machine may take long for its first window.
            wait_for('the till window', lambda: subprocess.run(
                ['xdotool', 'search', '--onlyvisible', '--name', 'gestione vorsa'], env=cls.env,
                capture_output=True).stdout.strip(), 90)
            wait_for('the web server', lambda: cls.get('/numeri')[0] == 200, 30)
        except AssertionError:
            cls.log.flush()
            with open(cls.log.name) as f:
                sys.stderr.write(f.read())
            cls.tearDownClass()
            raise
        time.sleep(1)
        cls.browser = Browser(os.path.join(cls.work, 'chromium'))

    @classmethod
    def tearDownClass(cls):
        for close in (lambda: cls.browser.close(), cls.till.terminate, cls.till.wait,
                      cls.display.terminate, cls.display.wait, cls.log.close):
            try:
                close()
            except Exception:  # pylint: disable=broad-except
                pass
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def get(cls, path, pin=None, method='GET', data=None):
        req = urllib.request.Request(cls.base + path, method=method, data=data,
                                     headers={'X-Pin': pin} if pin else {})
        try:
            with urllib.request.urlopen(req, timeout=5) as r:
                return r.status, r.read().decode()
        except urllib.error.HTTPError as e:
            return e.code, e.read().decode()
        except (ConnectionError, urllib.error.URLError):
            return 0, ''

    def keys(self, *args):
        subprocess.run(['xdotool'] + list(args), env=self.env, check=True)
        time.sleep(0.4)

    def sell(self, *codes):
        """Types the codes into the till, pays exactly and registers the sale."""
        for c in codes:
            self.keys('type', '--delay', '60', c)
        self.keys('key', 'F1')
        self.keys('key', 'F4')

    def login(self, session, pin):
        self.browser.js(session, "document.getElementById('pin').value = '%s';"
                                 "document.getElementById('accesso').requestSubmit(); true" % pin)

    def test_kitchen_numbers_and_takings(self):
        b = self.browser
        cucina = b.open(self.base + '/cucina')
        wait_for('the PIN form', lambda: b.js(cucina, "!document.getElementById('accesso').hidden"))
        self.login(cucina, PIN_CUCINA)
        wait_for('the kitchen page', lambda: b.js(cucina, "!document.getElementById('contenuto').hidden"))
        numeri = b.open(self.base + '/numeri?suono=0')

        # A sale with kitchen articles appears on the kitchen page with only those.
        self.sell('101', '102', '201')
        card = "document.querySelector('.ordine[data-numero=\"1\"]')"
        wait_for('receipt 1 in the kitchen', lambda: b.js(cucina, card + ' !== null'))
        righe = b.js(cucina, "[...%s.querySelectorAll('.righe li')].map(l => l.textContent)" % card)
        self.assertEqual(righe, ['1 \u00d7 Panino con salamella', '1 \u00d7 <img src=x onerror=alert(1)>'])
        self.assertEqual(b.js(cucina, "document.querySelectorAll('img').length"), 0)
        b.screenshot(cucina, 'cucina')

        # PRONTO: the number shows on the customers' screen, without a reload, within 2 s.
        b.js(numeri, "window.caricata = true")
        b.js(cucina, card + ".querySelector('button.pronto').click(); true")
        start = time.monotonic()
        wait_for('number 1 called', lambda: b.js(numeri, "[...document.querySelectorAll('#numeri li')].map(l => l.textContent).join()") == '1', 2)
        self.assertLess(time.monotonic() - start, 2)
        self.assertTrue(b.js(numeri, 'window.caricata'))
        wait_for('receipt 1 gone from the kitchen', lambda: b.js(cucina, card + ' === null'))

        # A scanned kitchen slip (Code 39 with its stars) marks its order ready too.
        self.sell('103')
        wait_for('receipt 2 in the kitchen', lambda: b.js(cucina, "document.querySelector('.ordine[data-numero=\"2\"]') !== null"))
        b.js(cucina, "const c = document.getElementById('codice'); c.value = '*2*';"
                     "document.getElementById('scansione').requestSubmit(); true")
        wait_for('number 2 called first', lambda: b.js(numeri, "document.querySelector('#numeri li.primo')?.textContent") == '2', 2)
        self.assertEqual(b.js(cucina, "document.getElementById('esito').textContent"), 'Numero 2 pronto')
        b.screenshot(numeri, 'numeri')

        # The takings page shows the total of the sales: 4,5 + 3 + 1 (the water) + 12.
        incassi = b.open(self.base + '/incassi')
        wait_for('the PIN form', lambda: b.js(incassi, "!document.getElementById('accesso').hidden"))
        self.login(incassi, PIN_INCASSI)
        wait_for('the total', lambda: b.js(incassi, "document.getElementById('incasso').textContent") == '\u20ac 20,50')
        self.assertEqual(b.js(incassi, "document.getElementById('scontrini').textContent"), '2')
        self.assertIn('<img src=x onerror=alert(1)>',
                      b.js(incassi, "document.getElementById('articoli').textContent"))
        b.screenshot(incassi, 'incassi')

    def test_without_the_pin_nothing_of_the_evening_shows(self):
        for path in ('/dati/cucina', '/eventi/cucina', '/dati/incassi', '/eventi/incassi'):
            status, body = self.get(path)
            self.assertEqual(status, 401, path)
            self.assertNotIn('ordini', body)
        status, _ = self.get('/cucina/pronto', PIN_INCASSI, 'POST', b'codice=1')
        self.assertEqual(status, 401)  # the takings' PIN does not open the kitchen

    def test_bad_requests_get_an_error_and_the_server_goes_on(self):
        cases = [('/../Vorsa.ini', 404), ('/%2e%2e/Vorsa.ini', 404), ('/numeri/..', 404),
                 ('/dati/numeri?x=%ff%fe', 200), ('/\xff', 404)]
        for path, status in cases:
            with socket.create_connection(('127.0.0.1', self.port), timeout=5) as s:
                s.sendall(b'GET ' + path.encode('latin-1') + b' HTTP/1.1\r\nHost: x\r\n\r\n')
                head = s.recv(100).decode('latin-1')
                self.assertIn(' %d ' % status, head.split('\r\n')[0], path)
        # Huge headers and a huge body are cut off; a thousand connections are refused or held.
        with socket.create_connection(('127.0.0.1', self.port), timeout=5) as s:
            try:
                s.sendall(b'GET /numeri HTTP/1.1\r\nX: ' + b'a' * 200_000 + b'\r\n\r\n')
                self.assertNotIn(b' 200 ', s.recv(100))
            except (ConnectionError, socket.timeout):
                pass
        many = []
        for _ in range(1000):
            try:
                many.append(socket.create_connection(('127.0.0.1', self.port), timeout=2))
            except OSError:
                break
        self.assertEqual(self.get('/dati/numeri')[0] in (0, 200), True)
        for s in many:
            s.close()
        wait_for('the server after the flood', lambda: self.get('/dati/numeri')[0] == 200)

    def test_zzz_a_shutdown_closes_the_till_as_the_operator_would(self):
        self.till.terminate()  # what a logout or shutdown sends
        self.assertEqual(self.till.wait(30), 0)
        self.assertEqual(self.get('/numeri')[0], 0)  # the pages went with it

    def test_zz_five_wrong_pins_block_the_address(self):
        self.assertEqual(self.get('/dati/incassi', PIN_INCASSI)[0], 200)  # forgets mistakes
        for _ in range(5):
            self.assertEqual(self.get('/dati/incassi', '0000')[0], 401)
        status, body = self.get('/dati/incassi', PIN_INCASSI)
        self.assertEqual(status, 429)
        self.assertIn('riprova tra un minuto', body)


if __name__ == '__main__':
    unittest.main(verbosity=2)
