#!/usr/bin/env bash
# Writes the example projects and the template of this folder with
# kolvane-cli, so that every number in them comes from the program itself.
# Run it again whenever the calculation changes:
#   examples/make-examples.sh            (uses build/src/app/kolvane-cli)
#   KOLVANE_CLI=/path/to/kolvane-cli examples/make-examples.sh
# Every input is in SI units unless a --unit step picks another display unit;
# the fluid properties are taken at the mean temperature of each side.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${KOLVANE_CLI:-build/src/app/kolvane-cli}
out=examples

calc() {
    # The table goes to the terminal for a quick check; errors stop the script.
    "$cli" calc "$@"
}

echo "== hot-water-storage-tank.kvp: hot water in a U-tube bundle, unstirred tank, loss to air"
calc \
    --set OBJNameD=生活热水储罐加热 --set OBJProcD=基础设计 \
    --set DeviceNameD=热水储罐 --set DeviceNoD=V-101 \
    --set OBJNoteD="10 m3立式储罐，无搅拌，95/65 °C热水U型管加热，4 h内由15 °C升至60 °C" \
    --choose PhiD=0 --choose TShapeD=0 --choose TmD=0 \
    --choose SmD=0 --choose PmD=0 --choose EVTD=0 \
    --choose VND=1 --set DsD=2.2 --set VsD=10 --set KvD=0.9 \
    --unit TaoD=2 --set TaoD=4 --set sfD=15 \
    --set CmtoD="自来水，物性取37.5 °C" \
    --unit MaoD=1 --set CopD=4180 --set Tom1D=15 --set Tom2D=60 \
    --set VioD=0.00069 --set LdoD=0.628 --set DenoD=993 --set BtoD=0.00036 \
    --press BTVessel \
    --set BpD=0.05 --set TeD=20 --set StD=0.006 \
    --set CmttD="热水，物性取80 °C" \
    --set CipD=4196 --set Ti1D=95 --set Ti2D=65 \
    --set ViiD=0.000355 --set LdiD=0.670 --set DeniD=972 \
    --set dioD=0.057 --set diiD=0.050 --set RiD=0.00018 --set RoD=0.00018 \
    --set EiD=0.0001 --set DspD=2 --set SlD=2 \
    --save "$out/hot-water-storage-tank.kvp"

echo "== steam-coil-reactor.kvp: condensing steam in a helical coil, stirred reactor"
calc \
    --set OBJNameD=反应釜升温 --set OBJProcD=基础设计 \
    --set DeviceNameD=搅拌反应釜 --set DeviceNoD=R-201 \
    --set OBJNoteD="5 m3平底反应釜，涡轮搅拌，300 kPa(绝)饱和蒸汽螺旋盘管，90 min内由25 °C升至90 °C" \
    --choose PhiD=1 --choose TShapeD=1 --choose TmD=1 \
    --choose SmD=1 --choose PmD=0 --choose EVTD=0 \
    --check ifMix=1 --choose mitD=0 --choose VND=1 \
    --set DsD=1.8 --set VsD=5 --set KvD=0.9 --set midD=0.6 --set rvD=2 \
    --unit TaoD=1 --set TaoD=90 --set sfD=20 \
    --set CmtoD="水溶液，物性取57.5 °C" \
    --set CopD=3900 --set Tom1D=25 --set Tom2D=90 \
    --set VioD=0.0008 --set LdoD=0.60 --set DenoD=1050 --set BtoD=0.0005 \
    --press BTVessel \
    --set BpD=0.08 --set TeD=20 --set StD=0.008 \
    --set CmttD="饱和蒸汽300 kPa(绝)，133.5 °C；冷凝液物性取饱和温度" \
    --unit DHiD=1 --set DHiD=2163 --set Ti1D=133.5 --set Ti2D=133.5 \
    --set ViiD=0.000210 --set LdiD=0.686 --set DeniD=931 \
    --set denivD=1.65 --set ViivD=0.0000135 --set LaiD=0.5 \
    --set dioD=0.057 --set diiD=0.050 --set RiD=0.0001 --set RoD=0.0002 \
    --set EiD=0.00005 --set DspD=2 --set SlD=1.4 \
    --save "$out/steam-coil-reactor.kvp"

echo "== batch-cooling-coil.kvp: cooling water in a helical coil, stirred batch cooled"
calc \
    --set OBJNameD=批料冷却 --set OBJProcD=基础设计 \
    --set DeviceNameD=冷却釜 --set DeviceNoD=R-301 \
    --set OBJNoteD="3.2 m3平底釜，推进式搅拌，20/30 °C循环冷却水盘管，2 h内由80 °C降至35 °C" \
    --choose PhiD=0 --choose TShapeD=1 --choose TmD=1 \
    --choose SmD=1 --choose PmD=0 --choose EVTD=0 \
    --check ifMix=1 --choose mitD=2 --choose VND=1 \
    --set DsD=1.5 --set VsD=3.2 --set KvD=0.85 --set midD=0.5 --set rvD=3 \
    --unit TaoD=2 --set TaoD=2 --set sfD=15 \
    --set CmtoD="含盐水溶液，物性取57.5 °C" \
    --set CopD=3900 --set Tom1D=80 --set Tom2D=35 \
    --set VioD=0.0012 --set LdoD=0.58 --set DenoD=1080 --set BtoD=0.0005 \
    --press BTVessel \
    --set BpD=0.05 --set TeD=20 --set StD=0.006 \
    --set CmttD="循环冷却水，物性取25 °C" \
    --set CipD=4180 --set Ti1D=20 --set Ti2D=30 \
    --set ViiD=0.00089 --set LdiD=0.607 --set DeniD=997 \
    --set dioD=0.048 --set diiD=0.041 --set RiD=0.00035 --set RoD=0.0002 \
    --set EiD=0.00005 --set DspD=2 --set SlD=1.1 \
    --save "$out/batch-cooling-coil.kvp"

echo "== steam-coil-reactor.kvt: template for stirred reactors heated by a steam coil"
calc \
    --set OBJProcD=基础设计 --set DeviceNameD=搅拌反应釜 \
    --choose PhiD=1 --choose TShapeD=1 --choose TmD=1 \
    --choose SmD=1 --choose PmD=0 --choose EVTD=0 \
    --check ifMix=1 --choose mitD=0 --choose VND=1 \
    --unit TaoD=1 --set sfD=20 \
    --set BpD=0.08 --set TeD=20 --set StD=0.008 \
    --set CmttD="饱和蒸汽300 kPa(绝)，133.5 °C；冷凝液物性取饱和温度" \
    --unit DHiD=1 --set DHiD=2163 --set Ti1D=133.5 --set Ti2D=133.5 \
    --set ViiD=0.000210 --set LdiD=0.686 --set DeniD=931 \
    --set denivD=1.65 --set ViivD=0.0000135 --set LaiD=0.5 \
    --set dioD=0.057 --set diiD=0.050 --set RiD=0.0001 --set RoD=0.0002 \
    --set EiD=0.00005 --set DspD=2 \
    --save "$out/steam-coil-reactor.kvt"
