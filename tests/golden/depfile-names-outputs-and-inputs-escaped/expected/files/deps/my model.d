my\ \#1\ $$hip.h my\ \#1\ $$hip.c out\ dir/pic.png: \
 my\ \#1\ $$hip.obj \
 my\ lib.mtl \
 tex\ ture.png

my\ \#1\ $$hip.obj:

my\ lib.mtl:

tex\ ture.png:
