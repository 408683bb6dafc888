// The wizard of the translation status cases: three texts, one with a help.
FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 1.0
FILE_NAME: "speed"

T: hello "Welcome.\nPress OK to set the speed."
H: hello "Cancel leaves the wizard."
T: speed_name "Motor speed"
T: rpm "rpm"

SCREEN_OVERLAY: welcome
{
   OVERLAY: o_welcome
   {
      T: hello
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
   }
   NS: speed
}

SCREEN_SINGLE_PARAM: speed
{
   VP: v_speed
   {
      T: speed_name
      UT: rpm
      MIN: 0
      MAX: 3000
      VAL: 1500
      SCALE: 0
   }
}
