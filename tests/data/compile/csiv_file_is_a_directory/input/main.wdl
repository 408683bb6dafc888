FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 1
PRODUCT_TYPE: 1
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 1.0
FILE_NAME: "h"
T: hello "Hello ä"
H: hello "Help"
T: flash "CURVE"
T: path "curve"
SCREEN_OVERLAY: s
{
   PRE_SCREEN_SCRIPT: pre
   {
      CSIV flash path
   }
   OVERLAY: o
   {
      T: hello
      OK_ACTION: EXIT_WIZARD
   }
}
