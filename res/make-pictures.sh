#!/bin/bash
# Regenerates the program's pictures in this folder with ImageMagick 6
# (convert) and the Liberation fonts. The results are kept in the repository;
# run this only after changing a picture here.
#   Vudadar.ico      application icon (house with a fan), 16 to 256 pixels
#   LogoMaker.bmp    welcome panel logo of the maker, 385x143
#   LogoPartner.bmp  welcome panel logo of the partner, 400x131
#   MessageNote.ico  note icon of the message boxes, 16 to 48 pixels
# (the sizes of the rectangles the panel draws them into)
# The logos are drawn on black because the welcome panel is black; they are
# 24-bit BMPs without alpha (BMP3) so GDI and GDI+ read them alike.
set -euo pipefail
cd "$(dirname "$0")"

FONTS=/usr/share/fonts/truetype/liberation
SERIF_BOLD_ITALIC=$FONTS/LiberationSerif-BoldItalic.ttf
SANS=$FONTS/LiberationSans-Regular.ttf
SANS_BOLD=$FONTS/LiberationSans-Bold.ttf
for f in "$SERIF_BOLD_ITALIC" "$SANS" "$SANS_BOLD"; do
  [ -f "$f" ] || { echo "missing font $f (package fonts-liberation)" >&2; exit 1; }
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# fan <cx> <cy> <blade length> <blade width> <colour>: three blades and a hub,
# as ImageMagick draw primitives.
fan() {
  local cx=$1 cy=$2 len=$3 wid=$4 col=$5 a
  for a in 0 120 240; do
    printf 'push graphic-context fill %s translate %s,%s rotate %s ellipse 0,%s %s,%s 0,360 pop graphic-context ' \
      "$col" "$cx" "$cy" "$a" "-$((len / 2))" "$wid" "$((len / 2))"
  done
}

# Application icon: a white house on a blue badge, a fan in its wall.
convert -size 256x256 xc:none \
  -fill '#1d5c96' -stroke '#0e3658' -strokewidth 6 \
  -draw 'roundrectangle 8,8 247,247 44,44' \
  -fill white -stroke '#0e3658' -strokewidth 8 \
  -draw 'stroke-linejoin round polygon 128,30 232,122 204,122 204,222 52,222 52,122 24,122' \
  -stroke none -fill '#1d5c96' -draw 'circle 128,164 128,112' \
  -draw "$(fan 128 164 48 13 white)" \
  -fill '#1d5c96' -draw 'circle 128,164 128,156' \
  "$tmp/icon-256.png"
convert "$tmp/icon-256.png" -strip -depth 8 -define icon:auto-resize=256,48,32,16 Vudadar.ico

# Maker: an amber house outline with a fan, the logotype and a strap line.
convert -size 400x131 xc:black \
  -fill none -stroke '#f2a81d' -strokewidth 7 \
  -draw 'stroke-linejoin round stroke-linecap round polyline 14,62 66,16 118,62' \
  -draw 'stroke-linejoin round stroke-linecap round polyline 30,50 30,112 102,112 102,50' \
  -stroke none -draw "$(fan 66 82 34 9 white)" \
  -fill black -draw 'circle 66,82 66,77' \
  -font "$SERIF_BOLD_ITALIC" -pointsize 64 -fill white -annotate +138+82 'Quillmar' \
  -fill '#f2a81d' -draw 'rectangle 140,96 386,98' \
  -font "$SANS" -pointsize 15 -kerning 3 -fill '#c8c8c8' -annotate +144+120 'AIRTIGHTNESS TESTING' \
  -type TrueColor BMP3:LogoMaker.bmp

# wave <x0> <x1> <y> <amplitude>: one period of a sine as a polyline (open
# paths with curves come out closed in ImageMagick 6, polylines do not).
wave() {
  awk -v x0="$1" -v x1="$2" -v y="$3" -v a="$4" 'BEGIN {
    printf "fill none stroke-linecap round stroke-linejoin round polyline"
    for (i = 0; i <= 48; i++)
      printf " %.1f,%.1f", x0 + (x1 - x0) * i / 48, y - a * sin(6.2831853 * i / 48)
  }'
}

# Partner: three air-flow waves beside a plain sans-serif name.
convert -size 385x143 xc:black \
  -fill none -stroke '#39b59b' -strokewidth 7 \
  -draw "$(wave 18 118 48 9)" \
  -draw "$(wave 18 118 72 9)" \
  -draw "$(wave 18 118 96 9)" \
  -stroke none \
  -font "$SANS_BOLD" -pointsize 52 -fill white -annotate +136+82 'Tarnwick' \
  -font "$SANS" -pointsize 17 -kerning 4 -fill '#39b59b' -annotate +138+110 'BUILDING SCIENCE' \
  -type TrueColor BMP3:LogoPartner.bmp

# The panel draws bitmap 281 (the maker's logo) into the left rectangle of
# 385x143 above the maker's address and bitmap 270 (the partner's) into the
# right one of 400x131 above the partner's: each logo is fitted, unstretched,
# on black into its rectangle.
convert LogoMaker.bmp -resize 385x143 -background black -gravity center -extent 385x143 \
  -type TrueColor BMP3:LogoMaker.bmp
convert LogoPartner.bmp -resize 400x131 -background black -gravity center -extent 400x131 \
  -type TrueColor BMP3:LogoPartner.bmp

# Note icon of the message boxes: a yellow note sheet with a folded corner
# and a blue "i" drawn as shapes, so it stays crisp at 32 pixels.
convert -size 256x256 xc:none \
  -fill '#ffe27a' -stroke '#7a5c00' -strokewidth 10 \
  -draw 'stroke-linejoin round polygon 40,12 176,12 228,64 228,244 40,244' \
  -fill '#e8c24a' -draw 'stroke-linejoin round polygon 176,12 176,64 228,64' \
  -stroke none -fill '#1d5c96' \
  -draw 'circle 134,74 134,98' \
  -draw 'roundrectangle 112,116 156,222 12,12' \
  -draw 'roundrectangle 96,116 156,136 6,6' \
  -draw 'roundrectangle 96,202 172,222 6,6' \
  "$tmp/note-256.png"
convert "$tmp/note-256.png" -strip -depth 8 -define icon:auto-resize=48,32,16 MessageNote.ico
