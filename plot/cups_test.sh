#!/bin/sh
# Plotting to a printer of a real print service: CUPS with the PDF printer backend.
# Starts the scheduler when none runs (and stops it again), adds a cups-pdf printer,
# plots a drawing to it through tolvane-cli and waits for the job's PDF.
# usage: plot_cups_test.sh TOLVANE_CLI
# Exit 77 (skipped) with "skipped: no print service" when the service cannot start.
set -u
CLI=$1
PRINTER="TolvaneTest$$"
WORK=$(mktemp -d)
STARTED=""

skip() {
  echo "skipped: no print service ($1)"
  rm -rf "$WORK"
  exit 77
}

cleanup() {
  lpadmin -x "$PRINTER" 2>/dev/null
  [ -n "$STARTED" ] && kill "$STARTED" 2>/dev/null
  rm -rf "$WORK"
}

command -v cupsd >/dev/null && command -v lpadmin >/dev/null || skip "CUPS is not installed"
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$PPD" ] || skip "the cups-pdf printer driver is not installed"
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  [ "$(id -u)" -eq 0 ] || skip "the scheduler is not running and only root may start it"
  cupsd -f >/dev/null 2>&1 &
  STARTED=$!
  for _ in $(seq 1 40); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.5
  done
  lpstat -r 2>/dev/null | grep -q "is running" || { kill "$STARTED" 2>/dev/null; skip "cupsd did not start"; }
fi
trap cleanup EXIT
lpadmin -p "$PRINTER" -E -v cups-pdf:/ -P "$PPD" 2>/dev/null || skip "cannot add a printer"

export QT_QPA_PLATFORM=offscreen
"$CLI" --data-dir "$WORK" batch devices | grep -qx "device=$PRINTER" || {
  echo "FAIL: batch devices does not list $PRINTER"; exit 1; }
"$CLI" --data-dir "$WORK" batch papers "$PRINTER" | grep -qx "paper=A4" || {
  echo "FAIL: batch papers $PRINTER does not offer A4"; exit 1; }

NAME="cupsplot$$"
/usr/bin/python3 - "$WORK/$NAME.dxf" <<'PY'
import sys, ezdxf
doc = ezdxf.new("R2010")
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (200, 0), (200, 100), (0, 100)], close=True)
msp.add_circle((100, 50), 30)
msp.add_text("CUPS", dxfattribs={"height": 10}).set_placement((20, 20))
doc.saveas(sys.argv[1])
PY
touch "$WORK/stamp"
OUT=$("$CLI" --data-dir "$WORK" batch --plot "$PRINTER" --style monochrome.ctb --paper A4 \
      "$WORK/$NAME.dxf")
echo "$OUT" | grep -qx "plotted=$WORK/$NAME.dxf|$PRINTER" || { echo "FAIL: $OUT"; exit 1; }

# cups-pdf names the PDF after the job's title (the drawing's name) in the user's
# output folder. The conversion may take long on a loaded machine: wait up to two minutes.
for _ in $(seq 1 240); do
  PDF=$(find "$HOME/PDF" /var/spool/cups-pdf -name "$NAME*.pdf" -newer "$WORK/stamp" 2>/dev/null | head -1)
  if [ -n "$PDF" ]; then
    sleep 1  # cups-pdf may still be writing it
    pdfinfo "$PDF" 2>/dev/null | grep -q "^Pages: *1$" || { echo "FAIL: $PDF is not a one-page PDF"; exit 1; }
    echo "job arrived: $PDF"
    rm -f "$PDF"
    exit 0
  fi
  sleep 0.5
done
echo "FAIL: no PDF arrived from $PRINTER"
exit 1
