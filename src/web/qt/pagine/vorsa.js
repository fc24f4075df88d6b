// Shared by the till's pages: live figures over Server-Sent Events, the PIN, and text that is
// always set with textContent, never parsed as markup.
'use strict';

function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined) e.textContent = String(text);
  return e;
}

// Opens the live stream of a page; `draw` gets each new JSON. A dropped connection comes back
// by itself (EventSource retries); `stato` shows whether the figures are live.
function segui(pagina, pin, draw, onError) {
  const url = '/eventi/' + pagina + (pin ? '?pin=' + encodeURIComponent(pin) : '');
  const stato = document.getElementById('stato');
  const es = new EventSource(url);
  es.onmessage = (ev) => {
    if (stato) { stato.textContent = ''; stato.className = 'stato'; }
    draw(JSON.parse(ev.data));
  };
  es.onerror = () => {
    if (stato) { stato.textContent = 'Collegamento alla cassa perso: riprovo...'; stato.className = 'stato giu'; }
    if (onError) onError(es);
  };
  return es;
}

// Pages behind a PIN: asks it, checks it with one request, keeps it for this tab only.
function conPin(pagina, avvia) {
  const form = document.getElementById('accesso');
  const campo = document.getElementById('pin');
  const msg = document.getElementById('messaggio-pin');
  const prova = async (pin) => {
    const r = await fetch('/dati/' + pagina, { headers: { 'X-Pin': pin } });
    if (r.ok) {
      sessionStorage.setItem('pin-' + pagina, pin);
      form.hidden = true;
      avvia(pin, await r.json());
      return;
    }
    sessionStorage.removeItem('pin-' + pagina);
    let testo = 'PIN errato';
    try { testo = (await r.json()).errore || testo; } catch (e) { /* keep the default */ }
    msg.textContent = testo;
    form.hidden = false;
    campo.value = '';
    campo.focus();
  };
  form.addEventListener('submit', (ev) => { ev.preventDefault(); prova(campo.value); });
  const salvato = sessionStorage.getItem('pin-' + pagina);
  if (salvato) prova(salvato); else { form.hidden = false; campo.focus(); }
}

// --- /numeri --------------------------------------------------------------------------------
function paginaNumeri() {
  const lista = document.getElementById('numeri');
  const suono = new URLSearchParams(location.search).get('suono') !== '0';
  let visti = null;
  let audio = null;
  const chime = () => {
    if (!suono) return;
    try {
      audio = audio || new AudioContext();
      [0, 0.18].forEach((t, i) => {
        const o = audio.createOscillator();
        const g = audio.createGain();
        o.frequency.value = i ? 660 : 880;
        g.gain.setValueAtTime(0.2, audio.currentTime + t);
        g.gain.exponentialRampToValueAtTime(0.001, audio.currentTime + t + 0.5);
        o.connect(g).connect(audio.destination);
        o.start(audio.currentTime + t);
        o.stop(audio.currentTime + t + 0.5);
      });
    } catch (e) { /* no sound on this device */ }
  };
  segui('numeri', '', (d) => {
    lista.replaceChildren();
    d.numeri.forEach((n, i) => {
      const li = el('li', i === 0 ? 'numero primo' : 'numero', n.numero);
      li.dataset.numero = n.numero;
      lista.appendChild(li);
    });
    const ora = new Set(d.numeri.map((n) => n.numero));
    if (visti && [...ora].some((n) => !visti.has(n))) chime();
    visti = ora;
  });
}

// --- /cucina --------------------------------------------------------------------------------
function paginaCucina() {
  const lista = document.getElementById('ordini');
  const esito = document.getElementById('esito');
  const scanner = document.getElementById('codice');
  let pin = '';
  const segna = async (codice) => {
    const r = await fetch('/cucina/pronto', {
      method: 'POST', headers: { 'X-Pin': pin, 'Content-Type': 'application/x-www-form-urlencoded' },
      body: 'codice=' + encodeURIComponent(codice) });
    let d = {};
    try { d = await r.json(); } catch (e) { /* shown below */ }
    esito.textContent = d.messaggio || d.errore || 'Errore ' + r.status;
    esito.className = r.ok ? 'esito ok' : 'esito ko';
  };
  const draw = (d) => {
    lista.replaceChildren();
    if (!d.ordini.length) lista.appendChild(el('p', 'vuoto', 'Nessun ordine aperto'));
    d.ordini.forEach((o) => {
      const card = el('article', 'ordine');
      card.dataset.numero = o.numero;
      const testa = el('header');
      testa.append(el('span', 'num', o.numero), el('span', 'ora', o.ora));
      if (o.tavolo) testa.append(el('span', 'tavolo', 'Tavolo ' + o.tavolo));
      card.append(testa);
      const righe = el('ul', 'righe');
      o.righe.forEach((r) => { const li = el('li'); li.append(el('b', '', r.pezzi + ' \u00d7 '), el('span', '', r.nome)); righe.append(li); });
      card.append(righe);
      if (o.nota) card.append(el('p', 'nota', o.nota));
      const b = el('button', 'pronto', 'PRONTO');
      b.addEventListener('click', () => segna(String(o.numero)));
      card.append(b);
      lista.append(card);
    });
  };
  document.getElementById('scansione').addEventListener('submit', (ev) => {
    ev.preventDefault();
    if (scanner.value.trim()) segna(scanner.value.trim());
    scanner.value = '';
  });
  conPin('cucina', (p, dati) => {
    pin = p;
    document.getElementById('contenuto').hidden = false;
    draw(dati);
    segui('cucina', pin, draw);
    scanner.focus();
  });
}

// --- /incassi -------------------------------------------------------------------------------
function paginaIncassi() {
  const draw = (d) => {
    document.getElementById('incasso').textContent = '\u20ac ' + d.incasso;
    document.getElementById('scontrini').textContent = d.scontrini;
    document.getElementById('stornati').textContent = d.stornati;
    const casse = document.getElementById('casse');
    casse.replaceChildren();
    d.casse.forEach((c) => { const tr = el('tr'); tr.append(el('td', '', c.nome), el('td', 'n', c.scontrini), el('td', 'n', c.incasso)); casse.append(tr); });
    const art = document.getElementById('articoli');
    art.replaceChildren();
    d.articoli.forEach((a) => { const tr = el('tr'); tr.append(el('td', '', a.nome), el('td', 'n', a.pezzi), el('td', 'n', a.incasso)); art.append(tr); });
    const grafico = document.getElementById('grafico');
    grafico.replaceChildren();
    const max = Math.max(1, ...d.ore.map((o) => o.centesimi));
    d.ore.forEach((o) => {
      const col = el('div', 'colonna');
      const barra = el('div', 'barra');
      barra.style.height = (100 * o.centesimi / max) + '%';
      barra.title = o.ora + ': ' + o.scontrini + ' scontrini, \u20ac ' + o.incasso;
      col.append(el('span', 'valore', o.incasso), barra, el('span', 'ora', o.ora));
      grafico.append(col);
    });
  };
  conPin('incassi', (pin, dati) => {
    document.getElementById('contenuto').hidden = false;
    draw(dati);
    segui('incassi', pin, draw);
  });
}

const pagine = { numeri: paginaNumeri, cucina: paginaCucina, incassi: paginaIncassi };
document.addEventListener('DOMContentLoaded', () => {
  const avvia = pagine[document.body.dataset.pagina];
  if (avvia) avvia();
});
