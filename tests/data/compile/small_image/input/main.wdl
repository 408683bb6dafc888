# A small wizard for the image layout: an overlay screen, a choice screen
# whose write script embeds a CSIV file, a help text and a non-ASCII text.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.2
RUN_MODE: 1
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "small"

T: hello "Grüß Gott"
H: hello "OK starts."
T: fan_name "Fan"
T: on_text "On"
T: off_text "Off"
T: curve_name "FAN"
T: curve_path "files\fan"

LP: lp_fan = 0

SCREEN_OVERLAY: hello
{
   OVERLAY: o_hello
   {
      T: hello
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
   }
   NS: fan
}

SCREEN_SINGLE_PARAM: fan
{
   VCP: fan_on
   {
      T: fan_name
      CL: on_off
      {
         on_text*
         off_text
      }
      WS: ws_fan
      {
         CPY fan_on lp_fan
         CSIV curve_name curve_path
      }
   }
}
