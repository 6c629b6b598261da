#!/usr/bin/env bash
# Makes the screenshots of the user's guide (docs/guide.md) again, into docs/images/guide/*.png:
#
#   scripts/guide-shots.sh [PROGRAM]
#
# PROGRAM is the built markedit (default: build-release/bin/markedit). It runs on a fresh profile
# (a temporary HOME, so the demo data is made anew and nothing of yours is read or changed) under a
# virtual 1280x1024 screen, started as "markedit C001 M01", and is driven with xdotool as a clerk
# would: it designs a small side mark, saves it, looks into the open dialog, shows a shipment row, opens the output dialog,
# adds a barcode, a logo and a line, looks at the database settings,
# plays another clerk saving the same mark (by writing the demo database with sqlite3) and quits
# without saving; then it starts the program again on screens scaled to 2 and 1.5. Each picture is
# cut from the screen to what the guide talks about.
# edit-menu.png (undo and the align commands) is made only when the Edit menu holds more than
# Cut, Copy and Paste.
# Missing tools (xvfb, xauth, xdotool, imagemagick, sqlite3) are installed from Debian.
# Set KEEP=1 to keep the profile and the full screenshots and see their folder.
set -euo pipefail

if [ "${GUIDE_SHOTS_SESSION:-}" != 1 ]; then
  case "${1:-}" in -h | --help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
  root=$(cd "$(dirname "$0")/.." && pwd)
  program=${1:-$root/build-release/bin/markedit}
  [ -x "$program" ] || { echo "guide-shots: no program at $program (build it first)" >&2; exit 2; }
  need=()
  command -v xvfb-run >/dev/null || need+=(xvfb xauth)
  command -v xdotool >/dev/null || need+=(xdotool)
  command -v import >/dev/null || need+=(imagemagick)
  command -v sqlite3 >/dev/null || need+=(sqlite3)
  if [ ${#need[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  fi
  status=0
  profile=$(mktemp -d)
  if [ "${KEEP:-0}" = 1 ]; then echo "profile and full screenshots: $profile"; else trap 'rm -rf "$profile"' EXIT; fi
  mkdir -p "$profile/home" "$root/docs/images/guide"
  GUIDE_SHOTS_SESSION=1 PROGRAM=$(realpath "$program") OUT="$root/docs/images/guide" PROFILE="$profile" \
    HOME="$profile/home" XDG_CONFIG_HOME="$profile/config" XDG_DATA_HOME="$profile/share" \
    env -u WINDIR xvfb-run -a -s "-screen 0 1280x1024x24" "$0" || status=$?
  grep -v XDG_RUNTIME_DIR "$profile/program.log" | sed 's/^/program: /' || true
  exit $status
fi

# ---- inside the virtual display ----

step=0
full=""
pid=""

# The screen as it is now, kept as screen-NN.png in the profile.
snap() {
  step=$((step + 1))
  full=$(printf '%s/screen-%02d.png' "$PROFILE" "$step")
  import -window root "$full"
}
# cut NAME X Y W H: a rectangle of the last snap, as docs/images/guide/NAME.png.
cut() {
  convert "$full" -crop "${4}x${5}+${2}+${3}" +repage "$PROFILE/$1.png"
  mv "$PROFILE/$1.png" "$OUT/$1.png"
  echo "shot: docs/images/guide/$1.png"
}
# piece NAME X Y W H: like cut, but kept in the profile to be joined with another piece.
piece() { convert "$full" -crop "${4}x${5}+${2}+${3}" +repage "$PROFILE/$1.png"; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.4; }
# drag X1 Y1 X2 Y2 with the left button, through two points on the way.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + 4)) $(($2 + 4)) \
    mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) mousemove "$3" "$4" mouseup 1
  sleep 0.4
}
# The newest visible window whose title is exactly NAME; waits for it up to 10 s and sets X, Y,
# WIDTH and HEIGHT to its place on the screen.
window() {
  local id=""
  for _ in $(seq 1 40); do
    # Menus and message boxes carry their title only as _NET_WM_NAME, which "search --name"
    # misses: every visible window's name is compared here.
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null | sort -n); do
      if [[ "$(xdotool getwindowname "$w" 2>/dev/null)" =~ ^$1$ ]]; then id=$w; fi
    done
    [ -n "$id" ] && break
    sleep 0.25
  done
  if [ -z "$id" ]; then
    import -window root "$PROFILE/failure.png"
    echo "guide-shots: no window \"$1\" appeared (the screen: failure.png in the profile, KEEP=1 keeps it)" >&2
    kill "$pid" 2>/dev/null
    exit 1
  fi
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$id")"
}
# The submenu that opens right of the menu at X (a "markedit" window further right).
submenu() {
  local left=$X
  for _ in $(seq 1 12); do
    window markedit
    [ "$X" -gt "$left" ] && return
    sleep 0.25
  done
  echo "guide-shots: no submenu opened" >&2
  kill "$pid" 2>/dev/null
  exit 1
}
# A window or menu with a margin of 10 pixels.
cut_window() { cut "$1" $((X - 10)) $((Y - 10)) $((WIDTH + 20)) $((HEIGHT + 20)); }
sql() { sqlite3 "$XDG_DATA_HOME/markedit/marks.db" "$1"; }

"$PROGRAM" C001 M01 >"$PROFILE/program.log" 2>&1 &
pid=$!
window "嘜頭編輯程式.*"
sleep 1

# Coordinates on the 1280x1024 screen at the first start: the palette's buttons at x 61 (rectangle
# y 63, diamond 89, ellipse 114, triangle 140, triangle down 164, A 189, PO/NO 213, ... 連結 431);
# the side mark editor (側嘜) in front, its tool bar at y 66 (編輯模式 184, 儲存設定 243, 輸出 302,
# 資料列 360) and its white stage at x 155-550, y 87-335; the property window at x 1040, y 50.

# The main window as the clerk first sees it.
snap
cut main-window 0 0 570 450

# Design mode, and a small side mark: a diamond, a rectangle, two labels and a data text.
click 184 66
window "屬性視窗"
click 61 89; drag 180 100 290 180
click 61 63; drag 184 240 288 304
click 61 213; drag 180 200 300 224
click 61 285; drag 330 216 510 240
# The label's text in the property window: type it, Enter.
click 1170 88
xdotool key ctrl+a
xdotool type --delay 15 'C/NO. {n} OF {N}'
xdotool key Return; sleep 0.3
click 61 431; drag 330 256 510 280
# The data text's field: the "..." button of the datafield row opens the field list.
click 1170 163
click 1213 163
window "欄位設定"
click $((X + 29)) $((Y + 81))     # SHIPTO, the fifth field
click $((X + 299)) $((Y + 197))   # OK
sleep 0.3
snap
cut design-mode 154 42 402 296
cut property-window 1035 45 240 125

# A band dragged on the empty stage, while it is dragged and once the button is up.
click 530 320
xdotool mousemove 540 310 mousedown 1 mousemove 520 290 mousemove 420 250 mousemove 320 205
sleep 0.4
snap
piece band-1 154 87 398 250
xdotool mouseup 1
sleep 0.4
snap
piece band-2 154 87 398 250
convert "$PROFILE/band-1.png" "$PROFILE/band-2.png" -bordercolor '#a0a0a0' -border 2 +append "$OUT/band.png"
echo "shot: docs/images/guide/band.png"

# The right-click menu on the rectangle, and its shape dialog.
click 236 272 3
window markedit
snap
cut design-menu 154 225 $((X + WIDTH + 10 - 154)) $((Y + HEIGHT + 10 - 225))
click $((X + 40)) $((Y + 11))   # 設定形狀, the first item
window "形狀設定視窗"
snap
cut_window shape-dialog
click $((X + 220)) $((Y + 273))   # 離開

# Save: design mode ends. What was saved is kept aside as "another clerk's" design for later.
click 243 66
sleep 0.5
sql "create table guide_other as select data from md where customerid = 'C001' and mdid = 'M01' and flag = '1'"

# File > Open: the marks stored so far, the highlighted one previewed; Escape closes it.
click 20 8
click 50 51
window "開啟嘜頭"
snap
cut_window open-dialog
xdotool key Escape; sleep 0.3

# Live values: the second row of shipment EX2401001, then the menu again to show where it is.
click 360 66
window markedit
xdotool mousemove $((X + 30)) $((Y + 30)) mousemove $((X + 40)) $((Y + 33))   # the shipment
submenu
click $((X + 40)) $((Y + 33))   # its second row
click 360 66
window markedit
xdotool mousemove $((X + 30)) $((Y + 30)) mousemove $((X + 40)) $((Y + 33))
submenu
xdotool mousemove $((X + 40)) $((Y + 33))
sleep 0.3
snap
cut live-values 154 42 516 296
xdotool key Escape Escape; sleep 0.3

# The 輸出 drop-down and the dialog of 匯出 PNG.
click 302 66
window markedit
snap
piece output-1 154 42 266 158
click $((X + 40)) $((Y + 99))   # 匯出 PNG, the fifth item
window "匯出 PNG"
snap
piece output-2 $((X - 10)) $((Y - 10)) $((WIDTH + 20)) $((HEIGHT + 20))
convert "$PROFILE/output-1.png" "$PROFILE/output-2.png" -background '#a0a0a0' -gravity north +append "$OUT/output.png"
echo "shot: docs/images/guide/output.png"
xdotool key Escape; sleep 0.3

# Design again: move the diamond 16 pixels right, select the PO/NO label too, look at the Edit menu.
click 184 66
drag 235 140 251 140
xdotool keydown shift; click 240 212; xdotool keyup shift
click 56 8
window markedit
if [ "$HEIGHT" -gt 80 ]; then
  # The last item opens the align commands.
  bottom=$((Y + HEIGHT))
  xdotool mousemove $((X + 40)) $((bottom - 20)) mousemove $((X + 40)) $((bottom - 16))
  submenu
  sleep 0.3
  snap
  bottom=$((Y + HEIGHT > bottom ? Y + HEIGHT : bottom))
  cut edit-menu 0 0 $((X + WIDTH + 10)) $((bottom + 10))
  xdotool key Escape
else
  rm -f "$OUT/edit-menu.png"
  echo "note: the Edit menu holds only Cut, Copy and Paste; edit-menu.png not made"
fi
xdotool key Escape; sleep 0.3
click 243 66
sleep 0.5

# Another clerk saves the mark meanwhile: the design kept aside replaces the row.
sql "update md set data = (select data from guide_other) where customerid = 'C001' and mdid = 'M01' and flag = '1'"
click 184 66
drag 251 140 235 140
click 243 66
window markedit
snap
cut_window other-save
click $((X + 370)) $((Y + 105))   # 取消: the design stays, unsaved

# A barcode of the product number, a logo and a line, drawn from the palette (條碼 y 455, 圖片
# 479, 線條 503); the logo's file typed into the file dialog. Then design mode off: row 2's values.
convert -size 110x60 xc:white -fill '#1f5fbf' -draw 'roundrectangle 4,4 106,56 12,12' -fill white \
  -draw 'circle 34,30 34,14' -fill '#f0b020' -draw 'polygon 60,46 76,14 92,46' "$PROFILE/logo.png"
click 184 66
click 61 455; drag 300 92 430 164
click 61 479; drag 440 92 545 164
window "選擇圖片"
xdotool type --delay 10 "$PROFILE/logo.png"
xdotool key Return; sleep 0.6
click 61 503; drag 300 172 545 188
click 184 66
sleep 0.5
snap
cut codes 154 42 402 296

# The database settings (File, eighth item, reached with the arrow keys) after 測試連線 on the
# demo database.
click 19 8
xdotool key Down Down Down Down Down Down Down Down Return
window "資料庫設定"
click $((X + 68)) $((Y + 403))
sleep 1
snap
cut_window database-settings
xdotool key Escape
sleep 0.5

# Quitting with unsaved changes: File, Exit.
click 19 8
window markedit
click $((X + 30)) $((Y + HEIGHT - 12))   # Exit, the last item
window markedit
snap
cut_window save-question
click $((X + 136)) $((Y + 59))   # 否: quit without saving
for _ in $(seq 1 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
if kill -0 "$pid" 2>/dev/null; then
  echo "guide-shots: the program did not quit after 否" >&2
  kill "$pid"
  exit 1
fi

# The same mark on a screen scaled to 2 and to 1.5 (a laptop at 200 % and 150 %): the palette, the
# tool bar and the stage's texts drawn for the screen's pixels. The same logical area is cut from
# each: 320 x 240 points.
for factor in 2 1.5; do
  QT_SCALE_FACTOR=$factor "$PROGRAM" C001 M01 >>"$PROFILE/program.log" 2>&1 &
  pid=$!
  window "嘜頭編輯程式.*"
  sleep 1.5
  snap
  size=$(awk -v f="$factor" 'BEGIN { printf "%d %d", 320 * f, 240 * f }')
  cut "scale-${factor/./-}x" 0 0 $size
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
