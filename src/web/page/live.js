// The live results page: one WebSocket to the program, which pushes the
// whole race (the same object as GET /api/race) whenever it changes. The
// page never asks again; it only reconnects when the connection drops.
// Between the heats of a club meeting it shows the next heat's line-up and
// the meeting's standings instead of the last race.
"use strict";

const WORDS = {
  es: {
    position: "Pos.", car: "Coche", laps: "Vueltas", last: "Última", fastest: "Rápida", state: "Estado",
    total: "Tiempo", race: "Carrera", lastRace: "Última carrera", unfinished: "sin terminar",
    noRace: "Todavía no hay ninguna carrera.", connecting: "Conectando…",
    offline: "Sin conexión con el programa: reintentando…", live: "En directo",
    next: "Siguiente", toCome: "parrilla por decidir", driver: "Piloto", points: "Puntos",
    meetingStandings: "Clasificación de la reunión", finalStandings: "Clasificación final",
  },
  en: {
    position: "Pos.", car: "Car", laps: "Laps", last: "Last lap", fastest: "Fastest", state: "State",
    total: "Time", race: "Race", lastRace: "Last race", unfinished: "not finished",
    noRace: "No race yet.", connecting: "Connecting…",
    offline: "No connection to the program: trying again…", live: "Live",
    next: "Next", toCome: "line-up to come", driver: "Driver", points: "Points",
    meetingStandings: "Meeting standings", finalStandings: "Final standings",
  },
};

let words = WORDS.es;
const $ = (id) => document.getElementById(id);

function cell(row, text, kind) {
  const td = document.createElement("td");
  td.textContent = text;
  if (kind) td.className = kind;
  row.appendChild(td);
}

function heads(keys, id = "head") {
  const head = $(id);
  head.replaceChildren();
  for (const key of keys) {
    const th = document.createElement("th");
    th.textContent = words[key];
    th.className = key;
    head.appendChild(th);
  }
}

// The program writes "0" for a fastest lap not set yet.
const lapText = (text) => (text === "0" || text === "" ? "–" : text);

function showRunning(race) {
  $("heading").textContent = race.race ? `${words.race} ${race.race}` : "";
  heads(["position", "car", "laps", "last", "fastest", "state"]);
  const rows = race.cars.map((c) => {
    const tr = document.createElement("tr");
    if (c.last) tr.className = "last";
    cell(tr, String(c.position), "position");
    cell(tr, c.driver ? `${c.car} · ${c.driver}` : String(c.car), "car");
    cell(tr, String(c.laps), "laps");
    cell(tr, lapText(c.lastLap), "last");
    cell(tr, lapText(c.fastestLap), "fastest");
    cell(tr, c.state, "state");
    return tr;
  });
  $("rows").replaceChildren(...rows);
  $("empty").textContent = "";
}

function showLast(last) {
  if (!last) {
    $("heading").textContent = "";
    $("head").replaceChildren();
    $("rows").replaceChildren();
    $("empty").textContent = words.noRace;
    return;
  }
  const note = last.finished ? "" : ` (${words.unfinished})`;
  $("heading").textContent = `${words.lastRace} ${last.race}${note}` + (last.description ? ` · ${last.description}` : "");
  heads(["position", "car", "laps", "total", "fastest"]);
  const rows = last.classification.map((c) => {
    const tr = document.createElement("tr");
    cell(tr, String(c.position), "position");
    cell(tr, String(c.car), "car");
    cell(tr, String(c.laps), "laps");
    cell(tr, c.total, "total");
    cell(tr, c.fastestLap > 0 ? c.fastestLap.toFixed(3).replace(".", ",") : "–", "fastest");
    return tr;
  });
  $("rows").replaceChildren(...rows);
  $("empty").textContent = "";
}

// Names are the director's text: always set as text, never as markup.
const nameOf = (d) => d.name || d.shortName || "–";

function raceTime(ms) {
  const pad = (n, width) => String(n).padStart(width, "0");
  const s = Math.floor(ms / 1000), h = Math.floor(s / 3600), m = Math.floor(s / 60) % 60;
  return `${h > 0 ? `${h}h ` : ""}${pad(m, 2)}'${pad(s % 60, 2)}"${pad(ms % 1000, 3)}`;
}

function showBoard(board) {
  $("title").textContent = board.name || "TRELVIX";
  document.title = board.name ? `${board.name} · TRELVIX` : "TRELVIX";
  const lineup = board.lineup || [];
  $("heading").textContent = board.heat
    ? `${words.next}: ${board.heat}` + (lineup.length ? "" : ` (${words.toCome})`) : "";
  $("lineup").hidden = lineup.length === 0;
  heads(["car", "driver"], "lineup-head");
  $("lineup-rows").replaceChildren(...lineup.map((s) => {
    const tr = document.createElement("tr");
    cell(tr, String(s.car), "car");
    cell(tr, nameOf(s), "driver");
    return tr;
  }));
  $("subheading").textContent = board.complete ? words.finalStandings : words.meetingStandings;
  const rows = board.standings || [];
  const rotation = rows.length > 0 && typeof rows[0].laps === "number";
  heads(["position", "driver", "points"].concat(rotation ? ["laps", "total"] : []));
  $("rows").replaceChildren(...rows.map((r) => {
    const tr = document.createElement("tr");
    cell(tr, `${r.place}${r.tied ? "=" : ""}`, "position");
    cell(tr, nameOf(r), "driver");
    cell(tr, String(r.points), "points");
    if (rotation) {
      cell(tr, String(r.laps), "laps");
      cell(tr, r.stints > 0 ? raceTime(r.timeMs) : "–", "total");
    }
    return tr;
  }));
  $("empty").textContent = "";
}

function show(race) {
  words = WORDS[race.language] || WORDS.es;
  document.documentElement.lang = race.language === "en" ? "en" : "es";
  $("title").textContent = race.description || "TRELVIX";
  document.title = race.description ? `${race.description} · TRELVIX` : "TRELVIX";
  $("clock").textContent = race.clock;
  $("length").textContent = race.running ? race.length : "";
  $("status").textContent = race.status;
  $("lineup").hidden = true;
  $("subheading").textContent = "";
  if (race.running) showRunning(race);
  else if (race.meeting) showBoard(race.meeting);
  else showLast(race.last);
}

function status(text, offline) {
  const footer = $("connection");
  footer.textContent = text;
  footer.classList.toggle("offline", offline);
}

let retry = 500;
function connect() {
  status(words.connecting, false);
  const scheme = location.protocol === "https:" ? "wss:" : "ws:";
  const socket = new WebSocket(`${scheme}//${location.host}/live`);
  socket.onopen = () => {
    retry = 500;
    status(words.live, false);
  };
  socket.onmessage = (event) => {
    try {
      show(JSON.parse(event.data));
      status(words.live, false);
    } catch (e) {
      // A message the page cannot read leaves what it shows as it was.
    }
  };
  socket.onclose = () => {
    status(words.offline, true);
    setTimeout(connect, retry);
    retry = Math.min(retry * 2, 8000);
  };
}

connect();
