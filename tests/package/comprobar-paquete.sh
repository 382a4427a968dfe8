#!/usr/bin/env bash
# Builds the Debian package from a build folder into a scratch folder and checks
# its contents, its metadata, that the programs run from it, and lintian.
# Usage: comprobar-paquete.sh BUILD_DIR
set -euo pipefail
compilacion="$(cd "${1:?build folder}" && pwd)"

temporal="$(mktemp -d)"
trap 'rm -rf "$temporal"' EXIT
fallos=0
bien()  { echo "  ok: $*"; }
falla() { echo "  FALLO: $*"; fallos=$((fallos + 1)); }

echo "== cpack into $temporal/salida"
cpack --config "$compilacion/CPackConfig.cmake" -G DEB -B "$temporal/salida" >"$temporal/cpack.log" 2>&1 || {
    cat "$temporal/cpack.log"; echo "FALLO: cpack"; exit 1; }
shopt -s nullglob
debs=("$temporal"/salida/quoravex_*.deb)
[ "${#debs[@]}" -eq 1 ] || { echo "FALLO: expected one quoravex_*.deb, found ${#debs[*]}"; exit 1; }
deb="${debs[0]}"
echo "   $(basename "$deb")"

echo "== package fields"
dpkg-deb -f "$deb" Package Version Architecture Section Priority Depends
[ "$(dpkg-deb -f "$deb" Package)" = quoravex ] && bien "Package quoravex" || falla "Package"
[ "$(dpkg-deb -f "$deb" Version)" = 1.4 ] && bien "Version 1.4" || falla "Version"
[ -n "$(dpkg-deb -f "$deb" Depends)" ] && bien "Depends from the binaries" || falla "empty Depends"

echo "== file list (dpkg-deb -c)"
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|; s|/$||' >"$temporal/lista"
esperados=(
    /usr/bin/quoravex
    /usr/bin/quoravex-cli
    /usr/bin/quoravex-printer-sim
    /usr/share/applications/quoravex.desktop
    /usr/share/mime/packages/quoravex.xml
    /usr/share/icons/hicolor/scalable/apps/quoravex.svg
    /usr/share/icons/hicolor/48x48/apps/quoravex.png
    /usr/share/icons/hicolor/256x256/apps/quoravex.png
    /usr/share/metainfo/org.quoravex.Quoravex.metainfo.xml
    /usr/share/man/man1/quoravex.1.gz
    /usr/share/man/man1/quoravex-cli.1.gz
    /usr/share/man/man1/quoravex-printer-sim.1.gz
    /usr/share/quoravex/muestra.tck
    /usr/share/quoravex/muestra.bmp
    /usr/share/quoravex/plantillas/oficina.tck
    /usr/share/quoravex/plantillas/oficina.csv
    /usr/share/quoravex/plantillas/oficina-web.bmp
    /usr/share/quoravex/plantillas/oficina-web.codigo
    /usr/share/quoravex/plantillas/farmacia.tck
    /usr/share/quoravex/plantillas/farmacia-cruz.bmp
    /usr/share/quoravex/plantillas/clinica.tck
    /usr/share/doc/quoravex/copyright
    /usr/share/doc/quoravex/changelog.gz
)
for f in "${esperados[@]}"; do
    grep -qxF "$f" "$temporal/lista" && bien "$f" || falla "missing $f"
done
fuera=$(grep -v -e '^/usr$' -e '^/usr/' -e '^/$' -e '^$' "$temporal/lista" || true)
[ -z "$fuera" ] && bien "nothing outside /usr" || falla "outside /usr: $fuera"

echo "== extract (dpkg-deb -x)"
raiz="$temporal/raiz"
dpkg-deb -x "$deb" "$raiz"

echo "== desktop-file-validate"
desktop-file-validate "$raiz/usr/share/applications/quoravex.desktop" \
    && bien "desktop entry" || falla "desktop-file-validate"
grep -qxF 'Exec=quoravex --carpeta-usuario %f' "$raiz/usr/share/applications/quoravex.desktop" \
    && bien "Exec line" || falla "Exec line"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$raiz/usr/share/metainfo/org.quoravex.Quoravex.metainfo.xml" \
    && bien "metainfo" || falla "appstreamcli validate"

echo "== manual pages"
for m in "$raiz"/usr/share/man/man1/*.1.gz; do
    gzip -t "$m" && zcat "$m" | grep '^\.TH ' >/dev/null && bien "$(basename "$m")" || falla "bad $(basename "$m")"
done

echo "== programs from the package"
export QT_QPA_PLATFORM=offscreen
version=$("$raiz/usr/bin/quoravex-cli" --version 2>/dev/null | head -n 1 || true)
echo "   quoravex-cli --version: $version"
[ "$version" = "Quoravex 1.4" ] && bien "version line" || falla "quoravex-cli --version first line is not 'Quoravex 1.4'"
if (cd "$raiz" && usr/bin/quoravex-cli info usr/share/quoravex/muestra.tck >"$temporal/info.json"); then
    # Read whole: "| head -c 1" can kill tr with SIGPIPE, which pipefail turns into a failure.
    compacto=$(tr -d ' \t\r\n' <"$temporal/info.json")
    primero=${compacto:0:1}
    ultimo=${compacto: -1}
    if [ "$primero$ultimo" = "{}" ] || [ "$primero$ultimo" = "[]" ]; then
        bien "info prints JSON ($(wc -c <"$temporal/info.json") bytes)"
    else
        falla "info output is not JSON"
    fi
else
    falla "quoravex-cli info exits with an error"
fi

# A template with its example values, its picture and code found beside it.
plantillas="$raiz/usr/share/quoravex/plantillas"
if (cd "$temporal" && "$raiz/usr/bin/quoravex-cli" generate "$plantillas/oficina.tck" --valores "$plantillas/oficina.csv" \
        --dir "$temporal/oficina" 2>"$temporal/plantilla.log") &&
    ! grep -v '^QStandardPaths' "$temporal/plantilla.log" | grep . >/dev/null && [ -s "$temporal/oficina/Salida00.bin" ]; then
    bien "the office template generates with its values"
else
    cat "$temporal/plantilla.log"
    falla "quoravex-cli generate on the office template"
fi

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" >"$temporal/lintian.log" 2>&1 && lint=0 || lint=$?
cat "$temporal/lintian.log"
grep -q '^E: ' "$temporal/lintian.log" && falla "lintian errors" || true
[ "$lint" -eq 0 ] && bien "lintian: no error" || falla "lintian exit $lint"

echo
if [ "$fallos" -ne 0 ]; then
    echo "$fallos check(s) failed"
    exit 1
fi
echo "all package checks passed"
