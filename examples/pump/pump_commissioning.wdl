# Pump commissioning
#
# Walks the installer through the settings a centrifugal or a positive
# displacement pump needs: pump type, rated flow and pressure setpoint, ramp,
# the digital inputs of the pump controller, then stores the pump curve.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 2.03
RUN_MODE: 1
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "pump"

INCLUDE ../common/panel_texts.wdl

#region Texts
T: welcome_title "Pump commissioning"
H: welcome_title "This wizard sets the drive up for your pump.\nPress OK to start, Cancel to leave."
T: pump_type_name "Pump type"
H: pump_type_name "Select the kind of pump the drive runs."
T: centrifugal "Centrifugal"
T: positive_disp "Positive displacement"
T: flow_name "Rated flow"
T: flow_unit "m3/h"
T: pressure_name "Setpoint pressure"
T: bar_unit "bar"
T: ramp_text "Ramp-up time to rated flow"
T: mode_text "Pump control mode"
T: inputs_text "Pump controller inputs"
T: pd_title "Positive displacement pump: check the relief valve before the first start."
T: done_title "Commissioning complete"
H: done_title "OK leaves the wizard, Back returns to the settings."
T: curve_flash "PUMPCURVE"
T: curve_file "files\pump_curve"
#endregion

# Control modes 0, 2 and 3 make sense for pumps; 1 is the conveyor mode.
CLF: pump_modes "0,2-3"
# Inputs 1 to 4 are wired to the pump controller.
APF: pump_inputs "1-4"

LP: lp_kind = 0
LP: lp_centrifugal = 0
LP: lp_min_flow = 50

# Keeps the rated flow above the pump's minimum flow.
SUBROUTINE: sr_limits
{
   BGE rated_flow lp_min_flow 1
   CPY lp_min_flow rated_flow
   LBL 1
   RET
}

SCREEN_OVERLAY: welcome
{
   # Starts from a centrifugal pump until the installer says otherwise.
   PRE_SCREEN_SCRIPT: pre_welcome
   {
      CVP 0 lp_kind
   }
   OVERLAY: o_welcome
   {
      T: welcome_title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
      BACK_ACTION: NO_ACTION
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: pump_type
}

SCREEN_SINGLE_PARAM: pump_type
{
   VCP: pump_kind
   {
      T: pump_type_name
      CL: pump_kinds
      {
         centrifugal*
         positive_disp
      }
      WS: ws_pump_kind
      {
         CPY pump_kind lp_kind
      }
   }
   NSS: choose_after_type
   {
      BEQ lp_kind lp_centrifugal 1
      SNS pd_warning
      BRA 2
      LBL 1
      SNS flow_screen
      LBL 2
   }
}

SCREEN_OVERLAY: pd_warning
{
   OVERLAY: o_pd
   {
      T: pd_title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: NO_ACTION
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: flow_screen
}

SCREEN_DUAL_PARAM: flow_screen
{
   VP: rated_flow
   {
      T: flow_name
      UT: flow_unit
      MIN: 0
      MAX: 5000
      VAL: 1200
      SCALE: -1
      WS: ws_flow
      {
         CALL sr_limits
      }
   }
   VP: setpoint
   {
      T: pressure_name
      UT: bar_unit
      MIN: 0
      MAX: 160
      VAL: 40
      SCALE: -1
   }
   NS: ramp_screen
}

SCREEN_SINGLE_PARAM: ramp_screen
{
   P: ramp_up 341
   {
      TO: ramp_text
   }
   PSS: pss_ramp
   {
      # The same ramp in setup 1 is copied to setups 2 and 3.
      CPY ramp_up[1] ramp_up[2,3]
   }
   NS: mode_screen
}

SCREEN_DUAL_PARAM: mode_screen
{
   P: control_mode 100
   {
      TO: mode_text
      CLF: pump_modes
   }
   P: controller_inputs 510
   {
      TO: inputs_text
      APF: pump_inputs
   }
   NS: save_screen
}

SCREEN_SINGLE_PARAM: save_screen
{
   VCP: save_choice
   {
      T: save_name
      CL: yes_no
      {
         yes_text*
         no_text
      }
   }
   NS: done
}

SCREEN_OVERLAY: done
{
   PRE_SCREEN_SCRIPT: pre_done
   {
      CSIV curve_flash curve_file
   }
   OVERLAY: o_done
   {
      T: done_title
      OK_ACTION: EXIT_WIZARD
      CANCEL_ACTION: NO_ACTION
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
}
