FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 1.0
FILE_NAME: "curves"
T: title "Curves"
T: curve_name "CURVE"
T: curve_path "files\curve"
LP: lp_a = 0
FIRST_SCREEN_SCRIPT: init
{
   CVP 0 lp_a
   CSIV curve_name curve_path
}
SCREEN_OVERLAY: start
{
   PRE_SCREEN_SCRIPT: pre_start
   {
      CSIV curve_name curve_path
   }
   OVERLAY: o_start
   {
      T: title
      OK_ACTION: EXIT_WIZARD
   }
}
