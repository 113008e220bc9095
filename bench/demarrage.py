#!/usr/bin/python3
"""Times the start of one or more builds of the program to its splash: from
the process's start to the mapping of its first window, on an X display of its
own (Xvfb and openbox), each start a cold one (no program of the session runs,
a fresh home). The builds take turns, so that the machine's load falls on
each alike; the median of each is printed.

    bench/demarrage.py [--tours 20] PROGRAMME [PROGRAMME...]
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import tempfile
import time


def attend_ligne(flux, debut):
    for ligne in flux:
        if ligne.startswith(debut):
            return ligne
    raise RuntimeError("flux fermé avant « %s »" % debut)


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--tours", type=int, default=20)
    arguments.add_argument("programmes", nargs="+")
    options = arguments.parse_args()

    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], stdout=subprocess.PIPE, text=True)
    affichage = ":" + xvfb.stdout.readline().strip()
    env = dict(os.environ, DISPLAY=affichage, QT_QPA_PLATFORM="xcb")
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, text=True)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    gestionnaire = subprocess.Popen(["openbox", "--sm-disable", "--startup", "echo pret"],
                                    stdout=subprocess.PIPE, text=True, env=env)
    attend_ligne(gestionnaire.stdout, "pret")
    # Every window that a program maps on the display, as the server tells it.
    evenements = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                                  stdout=subprocess.PIPE, text=True, env=env)
    time.sleep(0.5)
    temps = {programme: [] for programme in options.programmes}
    try:
        for _ in range(options.tours):
            for programme in options.programmes:
                racine = tempfile.mkdtemp(prefix="valdorin-demarrage-")
                for sous in ("home", "config", "run"):
                    os.mkdir(os.path.join(racine, sous), 0o700)
                env_tour = dict(env, HOME=racine + "/home", XDG_CONFIG_HOME=racine + "/config",
                                XDG_RUNTIME_DIR=racine + "/run")
                debut = time.monotonic()
                p = subprocess.Popen([programme], env=env_tour, stderr=subprocess.DEVNULL)
                attend_ligne(evenements.stdout, "MapNotify")
                temps[programme].append((time.monotonic() - debut) * 1000)
                p.send_signal(signal.SIGKILL)
                p.wait()
                # What the window's end tells the display is read before the next start.
                attend_ligne(evenements.stdout, "DestroyNotify")
                time.sleep(0.3)
                shutil.rmtree(racine)
    finally:
        for processus in (evenements, gestionnaire, bus, xvfb):
            processus.terminate()
            processus.wait()
    for programme, mesures in temps.items():
        print("%s: médiane %.1f ms (min %.1f, max %.1f, %d démarrages)" % (
            programme, statistics.median(mesures), min(mesures), max(mesures), len(mesures)))


if __name__ == "__main__":
    main()
