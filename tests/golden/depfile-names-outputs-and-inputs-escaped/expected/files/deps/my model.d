my\ \#1\ $$hip.h my\ \#1\ $$hip.c deps/my\ model.d: \
 my\ \#1\ $$hip.obj \
 my\ lib.mtl \
 tex\ ture.png

my\ \#1\ $$hip.obj:

my\ lib.mtl:

tex\ ture.png:
